// Text: UTF-8 read a character at a time, and text as JSON.
#ifndef KUURAKARPALO_TEXT_H
#define KUURAKARPALO_TEXT_H

#include <cstddef>
#include <string>

// The next character of UTF-8 text at p, moving p past it: its code point,
// or UNREADABLE for a byte that does not start a whole character (p moves
// by that byte alone). p must not stand at the terminator.
const unsigned UNREADABLE = 0xFFFD;
unsigned nextchar(const char*& p);
// The characters in text, as glPrint counts them.
size_t textlength(const char* text);

// Text as a JSON string, quotes included; a byte that starts no whole UTF-8
// character is written as \ufffd, so that the string is always valid.
std::string jsonstring(const std::string& text);

#endif
