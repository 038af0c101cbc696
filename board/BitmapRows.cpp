#include "board/BitmapFormat.h"

#include <cstring>

namespace {

void ConvertIndexedRow(const SBitmapFormat& Format, const unsigned char* __restrict pSrc,
                       unsigned char* __restrict pDst) {
    const int iWidth = Format.iWidth;
    if (Format.iBitCount == 8) {
        for (int x = 0; x < iWidth; ++x) {
            std::memcpy(pDst + 3 * x, Format.Palette[pSrc[x]], 3);
        }
        return;
    }
    // 1 and 4 bits: the leftmost pixel sits in the high bits of its byte.
    const int iBits = Format.iBitCount;
    const int iPerByte = 8 / iBits;
    const unsigned uIndexMask = (1u << iBits) - 1;
    for (int x = 0; x < iWidth; ++x) {
        const int iShift = 8 - iBits * (x % iPerByte + 1);
        const unsigned uIndex = (pSrc[x / iPerByte] >> iShift) & uIndexMask;
        std::memcpy(pDst + 3 * x, Format.Palette[uIndex], 3);
    }
}

void ConvertBgrRow(int iWidth, const unsigned char* __restrict pSrc, unsigned char* __restrict pDst) {
    for (int x = 0; x < iWidth; ++x) {
        pDst[0] = pSrc[2];
        pDst[1] = pSrc[1];
        pDst[2] = pSrc[0];
        pSrc += 3;
        pDst += 3;
    }
}

// Rounds so that a full channel stays full: 31 of 5 bits becomes 255.
unsigned char ScaleChannel(const SBitmapChannel& Channel, uint32_t dwPixel) {
    if (Channel.dwMax == 0) {
        return 0;
    }
    const uint64_t llValue = (dwPixel & Channel.dwMask) >> Channel.iShift;
    return static_cast<unsigned char>((llValue * 255 + Channel.dwMax / 2) / Channel.dwMax);
}

void ConvertMaskedRow(const SBitmapFormat& Format, const unsigned char* pSrc, unsigned char* pDst) {
    const int iBytes = Format.iBitCount / 8;
    for (int x = 0; x < Format.iWidth; ++x) {
        uint32_t dwPixel = 0;
        for (int i = iBytes - 1; i >= 0; --i) {
            dwPixel = (dwPixel << 8) | pSrc[i];
        }
        for (int c = 0; c < 3; ++c) {
            pDst[c] = ScaleChannel(Format.Channels[c], dwPixel);
        }
        pSrc += iBytes;
        pDst += 3;
    }
}

void ConvertRow(const SBitmapFormat& Format, const unsigned char* pSrc, unsigned char* pDst) {
    switch (Format.iBitCount) {
    case 24:
        ConvertBgrRow(Format.iWidth, pSrc, pDst);
        break;
    case 16:
    case 32:
        ConvertMaskedRow(Format, pSrc, pDst);
        break;
    default:
        ConvertIndexedRow(Format, pSrc, pDst);
        break;
    }
}

}  // namespace

void DecodeBitmapRows(const SBitmapFormat& Format, unsigned char* pOut) {
    const size_t uStride = static_cast<size_t>(BitmapRowStride(Format.iWidth, Format.iBitCount));
    const size_t uOutStride = static_cast<size_t>(Format.iWidth) * 3;
    for (int y = 0; y < Format.iHeight; ++y) {
        const int iSourceRow = Format.bTopDown ? Format.iHeight - 1 - y : y;
        ConvertRow(Format, Format.pPixels + uStride * static_cast<size_t>(iSourceRow), pOut + uOutStride * y);
    }
}
