#pragma once

#include <cstddef>
#include <cstdint>

// A decoded image: iSizeX x iSizeY pixels of red, green, blue, rows tightly
// packed, bottom row first. The record and pData come from malloc.
struct ImageRGB {
    int iSizeX;
    int iSizeY;
    unsigned char* pData;
};

// The largest output the decoder allocates. A bigger picture is refused with
// "Out of memory." before anything is allocated.
constexpr uint64_t BMP_MAX_OUTPUT_BYTES = uint64_t(1) << 30;

// Decodes a BMP file with a 12- or 40-byte information header. Returns null
// after showing exactly one error message.
ImageRGB* LoadBitmapRGB(const char* szFileName);

// Decodes BMP bytes held in memory, as LoadBitmapRGB does with the file's.
// Reads nothing outside pData[0 .. uSize). Returns null after showing exactly
// one error message.
//
// Decoded: 1, 4 and 8 bits with a colour table (indices past the table give
// black), 16 bits (5-5-5, or the bit-field masks), 24 bits, 32 bits (8-8-8,
// or the masks), RLE8 and RLE4 (pixels the stream skips are black; runs past
// the right edge are clipped). Top-down pictures come back bottom row first
// with a positive iSizeY. The colour table ends where the pixel data begins.
//
// Refused with "Image file conversion error.": headers, masks, tables or rows
// that the file is too short for; a pixel offset that points into the
// headers or past the end; planes other than 1, a width below 1, a height of
// 0; other bit counts and compressions; top-down RLE; an RLE stream that ends
// before its picture is complete.
ImageRGB* DecodeBitmapRGB(const unsigned char* pData, size_t uSize);

// Frees the record and its pixels; null is allowed.
void FreeImageRGB(ImageRGB* pImage);
