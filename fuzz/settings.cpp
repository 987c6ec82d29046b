// Fuzz target: the settings reader, on the text of a settings file. Whatever
// the file holds, each line gives at most one warning, every warning is one
// line of printable text naming the file, everything taken in lies within
// the settings' ranges, and the text read again gives the same.
#include "harness.h"

#include <algorithm>
#include <string>
#include <vector>

// The settings, as text to compare.
static std::string settingsnow()
{
    std::string out = std::to_string(options.window) + " " + std::to_string(options.windowwidth) + "x" +
                      std::to_string(options.windowheight) + " " + std::to_string(options.sound) + " " +
                      std::to_string(options.musicvolume) + " " + std::to_string(options.effectsvolume) + " " +
                      options.language;
    for (const Binding& b : options.bindings)
        for (int i = 0; i < b.count; i++) out += " " + std::to_string(b.keys[i]);
    return out;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    options = Options{};
    std::vector<std::string> warnings;
    parsesettings(text, size, "f.conf", warnings);

    const size_t lines = (size_t)std::count(text, text + size, '\n') + 1;
    expect(warnings.size() <= lines, "more warnings than lines");
    for (const std::string& w : warnings) {
        expect(w.rfind("kuurakarpalo: f.conf", 0) == 0, "a warning does not name the file");
        for (char c : w) expect(c >= 32 && c < 127, "a warning holds a character that is not printable text");
    }
    expect(options.windowwidth >= 1 && options.windowwidth <= 16384 && options.windowheight >= 1 &&
               options.windowheight <= 16384,
           "a window size outside 1..16384 was taken");
    expect(options.musicvolume >= 0 && options.musicvolume <= MIX_MAX_VOLUME && options.effectsvolume >= 0 &&
               options.effectsvolume <= MIX_MAX_VOLUME,
           "a volume outside 0..128 was taken");
    expect(options.language.empty() || languagecode(options.language), "a language that is no language code");
    for (const Binding& b : options.bindings) {
        expect(b.count >= 0 && b.count <= BINDINGKEYS, "an action bound to more keys than it takes");
        for (int i = 0; i < b.count; i++)
            expect(b.keys[i] != SDLK_UNKNOWN && !keyname(b.keys[i]).empty(), "an action bound to a key without a name");
    }

    // Read again, the same text gives the same settings and warnings.
    const std::string first = settingsnow();
    options = Options{};
    std::vector<std::string> again;
    parsesettings(text, size, "f.conf", again);
    expect(again == warnings && settingsnow() == first, "the same text read again gave another result");
    options = Options{};
    return 0;
}
