// Feeds every file under the folders (or the files) named on the command
// line through a fuzz target's entry point, in name order, so that the
// ordinary build runs the committed corpus and every kept reproducer:
//
//   corpus_TARGET PATH...
//
// A file or folder that is missing is an error (exit code 1); a finding
// ends the program as the target ends it. Names starting with '.' are
// skipped.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fs = std::filesystem;

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PATH...\n", argv[0]);
        return 2;
    }
    std::vector<std::pair<std::string, std::vector<fs::path>>> inputs;
    for (int i = 1; i < argc; i++) {
        std::error_code error;
        const fs::path path = fs::absolute(argv[i], error);
        std::vector<fs::path> files;
        if (fs::is_directory(path, error)) {
            for (const fs::directory_entry& e : fs::recursive_directory_iterator(path, error))
                if (e.is_regular_file() && e.path().filename().string()[0] != '.') files.push_back(e.path());
        } else if (fs::is_regular_file(path, error)) {
            files.push_back(path);
        } else {
            std::fprintf(stderr, "corpus: %s: no such file or folder\n", argv[i]);
            return 1;
        }
        std::sort(files.begin(), files.end());
        inputs.emplace_back(argv[i], files);
    }

    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    for (const auto& [name, files] : inputs) {
        for (const fs::path& file : files) {
            std::ifstream in(file, std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            if (!in.eof() && in.fail()) {
                std::fprintf(stderr, "corpus: %s: cannot be read\n", file.c_str());
                return 1;
            }
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        }
        std::printf("%s: %zu inputs\n", name.c_str(), files.size());
    }
    return 0;
}
