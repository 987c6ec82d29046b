// The language of the game's texts: the one asked for and the catalogs of
// those the game has.
#ifndef KUURAKARPALO_LANGUAGE_H
#define KUURAKARPALO_LANGUAGE_H

#include "datadir.h"

#include <string>
#include <vector>

// Language: the game's texts in the player's language (language.cpp)

// The game's texts are in Finnish, its own language, and they are the
// message ids of the GNU gettext catalogs that translate them. _("Pisteet:")
// marks a text where it is used and gives it in the game's language.
#define _(text) translated(text)
const char* const TEXTDOMAIN = "kuurakarpalo";   // a catalog is LANGUAGE/LC_MESSAGES/kuurakarpalo.mo

extern std::string gamelanguage;   // language.cpp: the language of the catalog in use ("en"); empty in Finnish
// text in the game's language: its translation, or text itself in Finnish.
const char* translated(const char* text);

// Whether text is a language as the environment writes one ("en",
// "fi_FI.UTF-8", "sr@latin"): a letter, then letters, digits and "_.@-", at
// most 32 characters.
bool languagecode(const std::string& text);
// The languages a player asks for, most wanted first, each as a catalog is
// named ("en_GB", then "en"): the option's alone when one is given; else
// the languages of LANGUAGE, a list separated by colons, and the locale's,
// the first of LC_ALL, LC_MESSAGES and LANG that is set. None when the
// locale is C or POSIX: the game's own texts then, as GNU programs do.
std::vector<std::string> languagesasked(const std::string& option, const char* language, const char* lcall,
                                        const char* lcmessages, const char* lang);
// Where the catalogs may lie, in order: the build tree's for a program in
// it, the installed ones beside the program, those where it was installed.
std::vector<std::string> localeplaces(const Datahomes& homes, const std::string& exe);
// The first of places that holds language's catalog; "" for none.
std::string findcatalog(const std::vector<std::string>& places, const std::string& language);
// The languages the game has its texts in: Finnish first, then each whose
// catalog lies where setlanguage looks.
std::vector<std::string> gamelanguages();
// Gives the game's texts in language: Finnish for "" or any Finnish,
// else from its catalog. False, and Finnish, when it has none.
bool setlanguage(const std::string& language);
// Sets this run's language, asked for by options.language or else by the
// environment: the first asked for that is Finnish or has a catalog, and
// Finnish when none does, after one warning if options.language asked.
void chooselanguage();

#endif
