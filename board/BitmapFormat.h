#pragma once

#include <cstddef>
#include <cstdint>

// The compression field of a 40-byte information header.
constexpr uint32_t BMP_RGB = 0;
constexpr uint32_t BMP_RLE8 = 1;
constexpr uint32_t BMP_RLE4 = 2;
constexpr uint32_t BMP_BITFIELDS = 3;

// Colour-table entries the decoder keeps: an index has at most 8 bits.
constexpr int BMP_PALETTE_SIZE = 256;

// One colour channel of a 16- or 32-bit pixel: its mask, shifted down to
// bit 0, gives the channel's full intensity.
struct SBitmapChannel {
    uint32_t dwMask;
    int iShift;
    uint32_t dwMax;  // mask >> shift; 0 for a channel without bits
};

// What the headers say about the pixels, checked against the file: every
// field is in range and the uncompressed rows lie inside the file.
struct SBitmapFormat {
    int iWidth;
    int iHeight;  // rows, always positive
    bool bTopDown;
    int iBitCount;
    uint32_t dwCompression;
    SBitmapChannel Channels[3];  // red, green, blue
    // Red, green, blue per index; entries past the file's table are black.
    unsigned char Palette[BMP_PALETTE_SIZE][3];
    const unsigned char* pPixels;
    size_t uPixelBytes;  // from pPixels to the end of the file
};

// Bytes of one stored row: bits rounded up to whole 32-bit words.
inline uint64_t BitmapRowStride(int iWidth, int iBitCount) {
    return (static_cast<uint64_t>(iWidth) * static_cast<uint64_t>(iBitCount) + 31) / 32 * 4;
}

// Converts uncompressed rows into pOut: width x height pixels of red, green,
// blue, bottom row first. The rows must already be known to lie in the file.
void DecodeBitmapRows(const SBitmapFormat& Format, unsigned char* pOut);

// Decodes an RLE8 or RLE4 stream into pOut, which must come zeroed: pixels
// the stream skips stay black. False when the stream ends before the picture.
bool DecodeBitmapRle(const SBitmapFormat& Format, unsigned char* pOut);
