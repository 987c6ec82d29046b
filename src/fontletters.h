// The letters the font draws beyond printable ASCII, each in a cell of its
// own. The game (font.cpp) finds a text's letters here, and the font's
// generator (tools/art) draws each into its cell; neither needs more than
// this table, so it stands apart from main.h.
#ifndef KUURAKARPALO_FONTLETTERS_H
#define KUURAKARPALO_FONTLETTERS_H

// One letter: its Unicode code point and its cell, counted from a set's
// first (the space); the cell lies in set 0 and, 128 cells on, in set 1.
struct FontLetter {
    unsigned code;
    int cell;
};
const int FONTASCII = 96;   // cells of a set that hold printable ASCII, 32..127
const FontLetter FONTLETTERS[] = {
    {0xE4, '{' - 32},   // ä: the game has always written it as "{"
    {0xF6, '}' - 32},   // ö: as "}"
    {0xC4, FONTASCII},       // Ä
    {0xD6, FONTASCII + 1},   // Ö
    {0xC5, FONTASCII + 2},   // Å
    {0xE5, FONTASCII + 3},   // å
};

#endif
