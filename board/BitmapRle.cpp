#include "board/BitmapFormat.h"

#include <algorithm>
#include <cstring>

namespace {

// The escape codes that follow a zero count byte.
constexpr unsigned RLE_END_OF_LINE = 0;
constexpr unsigned RLE_END_OF_PICTURE = 1;
constexpr unsigned RLE_DELTA = 2;

// The write position of the decoder, bottom row first. Pixels that a run
// carries past the right edge are dropped, so iX never exceeds the width.
class CRleCursor {
public:
    CRleCursor(const SBitmapFormat& Format, unsigned char* pOut) : Format(Format), pOut(pOut) {}

    void Put(unsigned uIndex) {
        if (iX < Format.iWidth) {
            const size_t uPixel = static_cast<size_t>(iY) * static_cast<size_t>(Format.iWidth) + static_cast<size_t>(iX);
            std::memcpy(pOut + 3 * uPixel, Format.Palette[uIndex], 3);
            ++iX;
        }
    }

    void NextLine() {
        iX = 0;
        ++iY;
    }

    void Move(unsigned uRight, unsigned uUp) {
        iX = std::min(iX + static_cast<int>(uRight), Format.iWidth);
        iY += static_cast<int>(uUp);
    }

    bool InPicture() const { return iY < Format.iHeight; }

    // Every pixel is written and only the closing codes are missing.
    bool PastLastPixel() const { return iY >= Format.iHeight || (iY == Format.iHeight - 1 && iX == Format.iWidth); }

    const SBitmapFormat& Format;
    unsigned char* pOut;
    int iX = 0;
    int iY = 0;
};

// The i-th index of a run: RLE4 alternates the high and the low nibble.
unsigned RunIndex(bool bRle4, unsigned uByte, unsigned i) {
    if (!bRle4) {
        return uByte;
    }
    return (i & 1) != 0 ? uByte & 0x0F : uByte >> 4;
}

}  // namespace

bool DecodeBitmapRle(const SBitmapFormat& Format, unsigned char* pOut) {
    const unsigned char* pData = Format.pPixels;
    const size_t uSize = Format.uPixelBytes;
    const bool bRle4 = Format.dwCompression == BMP_RLE4;
    CRleCursor Cursor(Format, pOut);
    size_t uPos = 0;
    while (Cursor.InPicture()) {
        if (uSize - uPos < 2) {
            return Cursor.PastLastPixel();
        }
        const unsigned uCount = pData[uPos];
        const unsigned uValue = pData[uPos + 1];
        uPos += 2;
        if (uCount > 0) {
            for (unsigned i = 0; i < uCount; ++i) {
                Cursor.Put(RunIndex(bRle4, uValue, i));
            }
            continue;
        }
        switch (uValue) {
        case RLE_END_OF_LINE:
            Cursor.NextLine();
            break;
        case RLE_END_OF_PICTURE:
            return true;
        case RLE_DELTA:
            if (uSize - uPos < 2) {
                return false;
            }
            Cursor.Move(pData[uPos], pData[uPos + 1]);
            uPos += 2;
            break;
        default: {
            // An absolute run of uValue indices, padded to a 16-bit word.
            const size_t uBytes = bRle4 ? (uValue + 1) / 2 : uValue;
            if (uSize - uPos < uBytes) {
                return false;
            }
            for (unsigned i = 0; i < uValue; ++i) {
                Cursor.Put(RunIndex(bRle4, pData[uPos + i / (bRle4 ? 2 : 1)], i));
            }
            uPos += uBytes;
            if ((uBytes & 1) != 0 && uPos < uSize) {
                ++uPos;
            }
            break;
        }
        }
    }
    return true;
}
