// Text: UTF-8 read a character at a time, and text written as JSON.
#include "main.h"

#include <cstdio>

std::string jsonstring(const std::string& text)
{
    std::string out = "\"";
    const char* p = text.c_str();
    const char* const end = p + text.size();
    while (p < end) {
        const char* const from = p;
        const unsigned c = *p ? nextchar(p) : (p++, 0u);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += (char)c;
        } else if (c < 0x20 || (c == UNREADABLE && p - from == 1)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out.append(from, p);
        }
    }
    return out + "\"";
}
