// The language of the game's texts. Finnish is the game's own: its texts
// are the message ids, and in Finnish the game shows them as they are.
// Another language's texts come from its GNU gettext catalog, found beside
// the program. The language is the game's own choice, made from the option
// or the environment's variables by name, so that it does not depend on
// which locales the system has generated: gettext is then told the choice
// through LANGUAGE (the web build's own gettext reads it too).
#include "language.h"
#include "datadir.h"
#include "options.h"
#include "system.h"

#include <libintl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

std::string gamelanguage;

const char* translated(const char* text)
{
    return gamelanguage.empty() ? text : dgettext(TEXTDOMAIN, text);
}

bool languagecode(const std::string& text)
{
    return !text.empty() && text.size() <= 32 && std::isalpha((unsigned char)text[0]) &&
           text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_.@-") ==
               std::string::npos;
}

// Whether a locale's name is the locale of the C library's own texts.
static bool clocalename(const std::string& name)
{
    return name == "C" || name == "POSIX" || name.substr(0, 2) == "C.";
}

// A locale's name as catalogs are named: "en_GB.UTF-8@euro" gives "en_GB"
// and then "en".
static void addlanguage(std::vector<std::string>& out, const std::string& name)
{
    if (!languagecode(name) || clocalename(name)) return;
    const std::string full = name.substr(0, name.find_first_of(".@"));
    const std::string bare = full.substr(0, full.find('_'));
    for (const std::string& l : {full, bare})
        if (!l.empty() && std::find(out.begin(), out.end(), l) == out.end()) out.push_back(l);
}

std::vector<std::string> languagesasked(const std::string& option, const char* language, const char* lcall,
                                        const char* lcmessages, const char* lang)
{
    std::vector<std::string> asked;
    if (!option.empty()) {
        addlanguage(asked, option);
        return asked;
    }
    const char* locale = nullptr;
    for (const char* v : {lcall, lcmessages, lang})
        if (!locale && v && *v) locale = v;
    if (locale && clocalename(locale)) return asked;
    if (language) {
        const std::string list = language;
        for (size_t at = 0; at <= list.size();) {
            const size_t end = std::min(list.find(':', at), list.size());
            addlanguage(asked, list.substr(at, end - at));
            at = end + 1;
        }
    }
    if (locale) addlanguage(asked, locale);
    return asked;
}

std::vector<std::string> localeplaces(const Datahomes& homes, const std::string& exe)
{
    namespace fs = std::filesystem;
    std::vector<std::string> places;
    const fs::path bindir = fs::path(exe).parent_path();
    if (!exe.empty() && !homes.buildtree.empty()) {
        const fs::path rel = bindir.lexically_relative(homes.buildtree);
        if (!rel.empty() && *rel.begin() != "..") places.push_back(homes.buildtree + "/locale");
    }
    if (!exe.empty() && !homes.localefromgames.empty())
        places.push_back((bindir / homes.localefromgames).lexically_normal().string());
    if (!homes.locale.empty() && std::find(places.begin(), places.end(), homes.locale) == places.end())
        places.push_back(homes.locale);
    return places;
}

std::string findcatalog(const std::vector<std::string>& places, const std::string& language)
{
    struct stat st;
    for (const std::string& dir : places) {
        const std::string mo = dir + "/" + language + "/LC_MESSAGES/" + TEXTDOMAIN + ".mo";
        if (stat(mo.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return dir;
    }
    return "";
}

std::vector<std::string> gamelanguages()
{
    namespace fs = std::filesystem;
    std::vector<std::string> languages = {"fi"};
    for (const std::string& place : localeplaces(builtdatahomes(), programpath())) {
        std::error_code error;
        std::vector<std::string> here;
        for (fs::directory_iterator it(place, error), end; !error && it != end; it.increment(error)) {
            const std::string language = it->path().filename().string();
            if (languagecode(language) && findcatalog({place}, language) == place &&
                std::find(languages.begin(), languages.end(), language) == languages.end())
                here.push_back(language);
        }
        std::sort(here.begin(), here.end());
        languages.insert(languages.end(), here.begin(), here.end());
    }
    return languages;
}

static bool finnish(const std::string& language)
{
    return language.empty() || language == "fi" || language.rfind("fi_", 0) == 0;
}

bool setlanguage(const std::string& language)
{
    gamelanguage.clear();
    if (finnish(language)) return true;
    const std::string dir = findcatalog(localeplaces(builtdatahomes(), programpath()), language);
    if (dir.empty()) return false;
    // GNU gettext takes the language from LANGUAGE, but only under a locale
    // other than C, which the C.UTF-8 locale of every system will do when the
    // environment's own is not generated. Setting the locale also lets
    // gettext forget the catalog of an earlier language.
    setenv("LANGUAGE", language.c_str(), 1);
    const char* set = std::setlocale(LC_MESSAGES, "");
    if (!set || clocalename(set)) std::setlocale(LC_MESSAGES, "C.UTF-8");
    bindtextdomain(TEXTDOMAIN, dir.c_str());
    bind_textdomain_codeset(TEXTDOMAIN, "UTF-8");
    gamelanguage = language;
    return true;
}

void chooselanguage()
{
    const std::vector<std::string> asked = languagesasked(
        options.language, std::getenv("LANGUAGE"), std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
        std::getenv("LANG"));
    for (const std::string& language : asked)
        if (setlanguage(language)) return;
    setlanguage("");
    if (!options.language.empty())
        std::fprintf(stderr, "kuurakarpalo: the game has no texts in the language %s; they are in Finnish\n",
                     options.language.c_str());
}
