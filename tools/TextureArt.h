#pragma once

#include <string>
#include <vector>

// Side of every texture picture, in pixels.
constexpr int TEXTURE_ART_SIZE = 256;
constexpr int TEXTURE_ART_COUNT = 6;

// The file names of the game's textures under data/, in texture slot order.
extern const char* const TEXTURE_ART_FILES[TEXTURE_ART_COUNT];

// The bytes of one texture file, painted afresh from its name ("wood.bmp",
// ...). The same bytes on every run and machine: the pictures use only exact
// arithmetic and their own random source. Empty for an unknown name.
std::vector<unsigned char> MakeTextureFile(const std::string& sName);

// The game's icon, iSize x iSize pixels of red, green, blue and alpha, the top
// row first: the ball on the wood in a frame of wall, with rounded corners.
std::vector<unsigned char> MakeIconRgba(int iSize);

// A 24-bit uncompressed BMP with the 14-byte file header and a 40-byte
// information header. pRgb holds iHeight rows of iWidth red, green, blue
// pixels, the top row first; the file stores them bottom-up, padded to 4 bytes.
std::vector<unsigned char> EncodeBmp24(int iWidth, int iHeight, const unsigned char* pRgb);

// The same with 8 bits a pixel: pIndices holds one colour-table index a pixel,
// TableRgb the table's red, green and blue entries.
std::vector<unsigned char> EncodeBmp8(int iWidth, int iHeight, const unsigned char* pIndices,
                                      const std::vector<unsigned char>& TableRgb);
