// The keys by name, as the settings and the command line write them: SDL's
// key codes, which are all this file takes of SDL: it calls none of it.
#include "keys.h"
#include "main.h"
#include "options.h"

#include <SDL/SDL.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

// The keys the settings name, each by one name; a few by a second one too.
static const struct {
    const char* name;
    SDLKey sym;
} KEYNAMES[] = {
    {"Up", SDLK_UP}, {"Down", SDLK_DOWN}, {"Left", SDLK_LEFT}, {"Right", SDLK_RIGHT},
    {"Space", SDLK_SPACE}, {"Return", SDLK_RETURN}, {"Enter", SDLK_RETURN}, {"Escape", SDLK_ESCAPE},
    {"Esc", SDLK_ESCAPE}, {"Tab", SDLK_TAB}, {"Backspace", SDLK_BACKSPACE}, {"Insert", SDLK_INSERT},
    {"Delete", SDLK_DELETE}, {"Home", SDLK_HOME}, {"End", SDLK_END}, {"PageUp", SDLK_PAGEUP},
    {"PageDown", SDLK_PAGEDOWN}, {"Pause", SDLK_PAUSE}, {"LeftShift", SDLK_LSHIFT}, {"RightShift", SDLK_RSHIFT},
    {"LeftCtrl", SDLK_LCTRL}, {"RightCtrl", SDLK_RCTRL}, {"LeftAlt", SDLK_LALT}, {"RightAlt", SDLK_RALT},
    {"Comma", SDLK_COMMA}, {"Period", SDLK_PERIOD}, {"Slash", SDLK_SLASH}, {"Semicolon", SDLK_SEMICOLON},
    {"Quote", SDLK_QUOTE}, {"Minus", SDLK_MINUS}, {"Equals", SDLK_EQUALS}, {"LeftBracket", SDLK_LEFTBRACKET},
    {"RightBracket", SDLK_RIGHTBRACKET}, {"Backslash", SDLK_BACKSLASH}, {"Backquote", SDLK_BACKQUOTE},
    {"Less", SDLK_LESS}, {"KPEnter", SDLK_KP_ENTER}, {"KPPlus", SDLK_KP_PLUS}, {"KPMinus", SDLK_KP_MINUS},
    {"KPMultiply", SDLK_KP_MULTIPLY}, {"KPDivide", SDLK_KP_DIVIDE}, {"KPPeriod", SDLK_KP_PERIOD},
};

// Whether two names are the same but for the case of their letters.
static bool samename(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; i++)
        if (std::tolower((unsigned char)a[i]) != std::tolower((unsigned char)b[i])) return false;
    return i == a.size() && !b[i];
}

int keynamed(const std::string& name)
{
    for (const auto& k : KEYNAMES)
        if (samename(name, k.name)) return k.sym;
    // A letter or a digit names itself; F1..F15 and KP0..KP9 are numbered.
    if (name.size() == 1 && std::isalnum((unsigned char)name[0]))
        return (SDLKey)std::tolower((unsigned char)name[0]);
    const auto number = [&name](size_t from, int lo, int hi) {
        const std::string digits = name.substr(from);
        if (digits.empty() || digits.size() > 2 || digits.find_first_not_of("0123456789") != std::string::npos ||
            (digits.size() > 1 && digits[0] == '0'))
            return -1;
        const int n = std::atoi(digits.c_str());
        return n >= lo && n <= hi ? n : -1;
    };
    if (name.size() > 1 && (name[0] == 'F' || name[0] == 'f')) {
        const int n = number(1, 1, 15);
        if (n >= 1) return (SDLKey)(SDLK_F1 + n - 1);
    }
    if (name.size() > 2 && samename(name.substr(0, 2), "KP")) {
        const int n = number(2, 0, 9);
        if (n >= 0) return (SDLKey)(SDLK_KP0 + n);
    }
    return SDLK_UNKNOWN;
}

std::string keyname(int sym)
{
    for (const auto& k : KEYNAMES)
        if (k.sym == sym) return k.name;
    if ((sym >= SDLK_a && sym <= SDLK_z) || (sym >= SDLK_0 && sym <= SDLK_9))
        return std::string(1, (char)std::toupper((int)sym));
    if (sym >= SDLK_F1 && sym <= SDLK_F15) return "F" + std::to_string(sym - SDLK_F1 + 1);
    if (sym >= SDLK_KP0 && sym <= SDLK_KP9) return "KP" + std::to_string(sym - SDLK_KP0);
    return "";
}

std::string keynamelist()
{
    std::string out;
    for (const auto& k : KEYNAMES) out += (out.empty() ? "" : ", ") + std::string(k.name);
    return out;
}

std::string bindingtext(const Binding& binding)
{
    std::string out;
    for (int i = 0; i < binding.count; i++) out += (i ? " " : "") + keyname(binding.keys[i]);
    return binding.count ? out : "none";
}

const char* readbinding(const char* words, Binding& binding)
{
    Binding read{};
    const std::string text = words;
    bool none = false;
    for (size_t at = 0; at < text.size();) {
        if (text[at] == ' ' || text[at] == '\t') {
            at++;
            continue;
        }
        const size_t end = std::min(text.find_first_of(" \t", at), text.size());
        const std::string word = text.substr(at, end - at);
        at = end;
        if (samename(word, "none")) {
            none = true;
            continue;
        }
        const int sym = keynamed(word);
        if (sym == SDLK_UNKNOWN) {
            static std::string why;
            why = "names a key the game does not know";
            bool printable = word.size() <= 20;
            for (char c : word) printable = printable && c > 32 && c < 127;
            if (printable) why += ": " + word;
            return why.c_str();
        }
        if (read.count == BINDINGKEYS) return "names more than 8 keys";
        read.keys[read.count++] = sym;
    }
    if (none && read.count > 0) return "names keys and none";
    if (!none && read.count == 0) return "names no key (none for none)";
    binding = read;
    return nullptr;
}

std::array<Binding, ACTIONS> defaultbindings()
{
    return {{{1, {SDLK_UP}}, {1, {SDLK_DOWN}}, {1, {SDLK_LEFT}}, {1, {SDLK_RIGHT}},
             {1, {SDLK_SPACE}}, {1, {SDLK_ESCAPE}}, {1, {SDLK_p}}}};
}
