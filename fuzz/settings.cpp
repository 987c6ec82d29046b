// Fuzz target: the settings reader. Whatever the text, each line gives at
// most one warning, of printable text naming the file; all taken lies in
// range; the text read again gives the same.
#include "harness.h"
#include "keys.h"
#include "language.h"
#include "settings.h"

#include <SDL/SDL.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

// Whether a and b hold the same of everything a settings file sets.
static bool samesettings(const Options& a, const Options& b)
{
    const auto set = [](const Options& o) {
        return std::tie(o.window, o.windowwidth, o.windowheight, o.sound, o.musicvolume, o.effectsvolume,
                        o.language, o.keepgames, o.lefthanded);
    };
    return set(a) == set(b) && std::memcmp(a.bindings.data(), b.bindings.data(), sizeof a.bindings) == 0;
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
    expect(within(options.windowwidth, 1, 16384) && within(options.windowheight, 1, 16384),
           "a window size outside 1..16384 was taken");
    expect(within(options.musicvolume, 0, VOLUMEMAX) && within(options.effectsvolume, 0, VOLUMEMAX),
           "a volume outside 0..128 was taken");
    expect(options.language.empty() || languagecode(options.language), "a language that is no language code");
    for (const Binding& b : options.bindings) {
        expect(b.count >= 0 && b.count <= BINDINGKEYS, "an action bound to more keys than it takes");
        for (int i = 0; i < b.count; i++)
            expect(b.keys[i] != SDLK_UNKNOWN && !keyname(b.keys[i]).empty(), "an action bound to a key without a name");
    }

    // Read again, the same text gives the same settings and warnings.
    const Options first = options;
    options = Options{};
    std::vector<std::string> again;
    parsesettings(text, size, "f.conf", again);
    expect(again == warnings && samesettings(options, first), "the same text read again gave another result");
    options = Options{};
    return 0;
}
