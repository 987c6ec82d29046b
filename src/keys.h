// The keys by name, as the settings and the command line write them, and
// the keys bound to each action by default.
#ifndef KUURAKARPALO_KEYS_H
#define KUURAKARPALO_KEYS_H

#include "options.h"

#include <string>

// The key of a name, as the settings write it ("Up", "W", "Space", "KP8"),
// in any case; 0 (SDLK_UNKNOWN) for a name it does not know.
int keynamed(const std::string& name);
// The name the settings give a key ("Up"), or "" for a key without one.
std::string keyname(int sym);
// The names keynamed knows besides letters, digits, F1..F15 and KP0..KP9,
// separated by ", ".
std::string keynamelist();
// Reads binding from keys named by words ("Up W"; "none" for none): nullptr,
// or what is wrong, leaving binding as it was.
const char* readbinding(const char* words, Binding& binding);
// A binding as readbinding reads it: "Up W", or "none".
std::string bindingtext(const Binding& binding);

#endif
