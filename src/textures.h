// Textures: the pictures the game reads into its slots, and the TGA files
// they come from.
#ifndef KUURAKARPALO_TEXTURES_H
#define KUURAKARPALO_TEXTURES_H

#include <GL/gl.h>

#include <cstddef>
#include <cstdio>
#include <vector>

// Fills the fixed texture slots from DATA/.
void LoadTextures();

// Presentation: textures, font, message boxes (textures.cpp, font.cpp,
// messagebox.cpp)

const int TEXTURESLOTS = 19;

// What each texture slot holds; slots 13 to 18 stay empty.
enum TextureSlot {
    TEXGROUND,          // the map's first tile set: the ground layer
    TEXLAYERS,          // the map's second tile set: the second and the over layer
    TEXPANEL,           // the message box panel
    TEXFONT,            // the font's 16 by 16 glyphs
    TEXNEUTRAL,         // the neutrals' bodies
    TEXNEUTRALFLASH,    // their flash while invulnerable
    TEXCORPSE,          // the corpses
    TEXMONSTER,         // the monsters' bodies
    TEXMONSTERFLASH,    // their flash
    TEXPLAYER,          // the hero's body
    TEXPLAYERFLASH,     // his flash
    TEXSWORD,           // the blade
    TEXKEPT,            // the picture of a paused or ended game, while it is shown
};

// The files the game reads from its data directory, as paths under it: the
// pictures start-up loads into their slots (in this order), the tile sets a
// map's tset chooses, the music and the death sound. The list of the data
// files shipped with the game, dist/datafiles.txt, holds exactly these.
struct PictureFile {
    int slot;
    const char* file;
};
const PictureFile PICTURES[] = {
    {TEXPANEL, "DATA/message.tga"},  {TEXPLAYER, "DATA/player.tga"},   {TEXPLAYERFLASH, "DATA/playerl.tga"},
    {TEXMONSTER, "DATA/vauva.tga"},  {TEXMONSTERFLASH, "DATA/vauval.tga"}, {TEXCORPSE, "DATA/ruumiit.tga"},
    {TEXSWORD, "DATA/kirves.tga"},   {TEXFONT, "DATA/fontti.tga"},     {TEXNEUTRAL, "DATA/tonttu.tga"},
    {TEXNEUTRALFLASH, "DATA/tonttul.tga"}};
const char* const TILESETS[2][2] = {            // [tset]: the ground's and the layers' atlas
    {"DATA/iso1.tga", "DATA/iso2.tga"},         // outdoors
    {"DATA/luola1.tga", "DATA/luola2.tga"}};    // cave
const char* const MUSICFILE = "DATA/main.mp3";
const char* const HITFILE = "DATA/hit1.wav";
// The picture start-up loads into slot, or nullptr for none.
const char* picturefile(int slot);

// One texture slot; texID 0 while the slot holds nothing.
struct TextureImage {
    GLubyte* imageData;   // pixels as uploaded, rows in file order, RGB(A)
    GLuint bpp;           // bits per pixel, 24 or 32
    GLuint width;         // pixels
    GLuint height;        // pixels
    GLuint texID;         // OpenGL texture name
};

extern TextureImage textures[TEXTURESLOTS];   // textures.cpp: slots 0..18
extern int NTEXTURE;                          // textures.cpp: slot bound last, -2 before any

// Reads an uncompressed 24- or 32-bit TGA into texture and uploads it.
// Anything else, or a damaged file, is refused and leaves the slot empty.
bool LoadTGA(TextureImage* texture, const char* filename);
// Gives back what a slot holds, its texture and its pixels, and empties it.
void freetexture(TextureImage& texture);
// Uploads the pixels a slot holds as a new OpenGL texture, its texID.
void uploadtexture(TextureImage* texture);
// LoadTGA's reading and checking, from an open file at its first byte: on
// success the pixels, turned to RGB(A), and the sizes are in texture (texID
// untouched), and the image descriptor byte, which the game ignores, in
// descriptor if given; anything refused leaves texture as it was. The one
// TGA reader of the game, its tools and its tests.
bool readtga(FILE* file, TextureImage* texture, unsigned char* descriptor = nullptr);
// The bytes of a TGA file in that form: the header for width by height
// pixels of bpp bits (24 or 32) with the descriptor byte as given (bit 5 set
// tells viewers that the first row stored is the top), then size bytes of
// pixels given as RGB(A) rows in file order, stored blue first. The one
// writer; tests give fewer or no pixels for damaged files.
std::vector<unsigned char> tgabytes(int width, int height, int bpp, unsigned char descriptor,
                                    const unsigned char* pixels, size_t size);
// Binds slot n for drawing and records it in NTEXTURE.
void bindtexture(int n);

#endif
