// Text: UTF-8 read a character at a time, and text written as JSON.
#include "text.h"

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

unsigned nextchar(const char*& p)
{
    const unsigned char lead = (unsigned char)*p++;
    if (lead < 0x80) return lead;
    // The continuation bytes a lead byte asks for, and the least code point
    // they may spell (a longer spelling of a smaller one is no character).
    int more;
    unsigned code, least;
    if (lead >= 0xC2 && lead <= 0xDF)
        more = 1, code = lead & 0x1F, least = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        more = 2, code = lead & 0x0F, least = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        more = 3, code = lead & 0x07, least = 0x10000;
    else
        return UNREADABLE;
    const char* q = p;
    for (int k = 0; k < more; k++) {
        const unsigned char c = (unsigned char)q[k];
        if ((c & 0xC0) != 0x80) return UNREADABLE;
        code = code << 6 | (c & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return UNREADABLE;
    p = q + more;
    return code;
}

size_t textlength(const char* text)
{
    size_t n = 0;
    for (const char* p = text; *p != '\0'; n++) nextchar(p);
    return n;
}
