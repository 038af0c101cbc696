#include "board/Bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/BitmapFormat.h"
#include "platform/FileMap.h"
#include "platform/Message.h"

namespace {

const char* const BMP_MSG_UNKNOWN_FORMAT = "Unknown DIB file format.";
const char* const BMP_MSG_OUT_OF_MEMORY = "Out of memory.";
const char* const BMP_MSG_CONVERSION = "Image file conversion error.";

constexpr size_t BMP_FILE_HEADER_SIZE = 14;
constexpr size_t BMP_PIXEL_OFFSET_FIELD = 10;
constexpr uint32_t BMP_CORE_HEADER_SIZE = 12;
constexpr uint32_t BMP_INFO_HEADER_SIZE = 40;
constexpr size_t BMP_MASKS_SIZE = 12;
constexpr uint32_t BMP_COLORS_USED_MODULUS = 65536;

// The fields of either information header, in the 40-byte header's terms.
struct SInfoHeader {
    uint32_t dwSize;
    int64_t llWidth;
    int64_t llHeight;
    int iPlanes;
    int iBitCount;
    uint32_t dwCompression;
    uint32_t dwColorsUsed;
};

uint32_t ReadU16(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
}

uint32_t ReadU32(const unsigned char* p) {
    return ReadU16(p) | ReadU16(p + 2) << 16;
}

int32_t ReadS32(const unsigned char* p) {
    const uint32_t dwValue = ReadU32(p);
    int32_t iValue;
    std::memcpy(&iValue, &dwValue, sizeof(iValue));
    return iValue;
}

// Whether llCount bytes from llOffset lie inside a file of uSize bytes.
bool InFile(uint64_t llOffset, uint64_t llCount, size_t uSize) {
    return llOffset <= uSize && llCount <= uSize - llOffset;
}

ImageRGB* Fail(const char* szMessage) {
    ShowErrorMessage(szMessage);
    return nullptr;
}

const char* ReadInfoHeader(const unsigned char* pData, size_t uSize, size_t uStart, SInfoHeader* pHeader) {
    if (!InFile(uStart, 4, uSize)) {
        return BMP_MSG_CONVERSION;
    }
    const unsigned char* p = pData + uStart;
    pHeader->dwSize = ReadU32(p);
    if (pHeader->dwSize != BMP_CORE_HEADER_SIZE && pHeader->dwSize != BMP_INFO_HEADER_SIZE) {
        return BMP_MSG_UNKNOWN_FORMAT;
    }
    if (!InFile(uStart, pHeader->dwSize, uSize)) {
        return BMP_MSG_CONVERSION;
    }
    if (pHeader->dwSize == BMP_CORE_HEADER_SIZE) {
        pHeader->llWidth = ReadU16(p + 4);
        pHeader->llHeight = ReadU16(p + 6);
        pHeader->iPlanes = static_cast<int>(ReadU16(p + 8));
        pHeader->iBitCount = static_cast<int>(ReadU16(p + 10));
        pHeader->dwCompression = BMP_RGB;
        pHeader->dwColorsUsed = 0;
    } else {
        pHeader->llWidth = ReadS32(p + 4);
        pHeader->llHeight = ReadS32(p + 8);
        pHeader->iPlanes = static_cast<int>(ReadU16(p + 12));
        pHeader->iBitCount = static_cast<int>(ReadU16(p + 14));
        pHeader->dwCompression = ReadU32(p + 16);
        pHeader->dwColorsUsed = ReadU32(p + 32);
    }
    return nullptr;
}

bool IsSupportedFormat(const SInfoHeader& Header, bool bTopDown) {
    const int iBits = Header.iBitCount;
    switch (Header.dwCompression) {
    case BMP_RGB:
        return iBits == 1 || iBits == 4 || iBits == 8 || iBits == 16 || iBits == 24 || iBits == 32;
    case BMP_RLE8:
        return iBits == 8 && !bTopDown;
    case BMP_RLE4:
        return iBits == 4 && !bTopDown;
    case BMP_BITFIELDS:
        return iBits == 16 || iBits == 32;
    default:
        return false;
    }
}

uint32_t ColorTableEntries(const SInfoHeader& Header) {
    if (Header.dwSize == BMP_INFO_HEADER_SIZE && Header.dwColorsUsed != 0) {
        return Header.dwColorsUsed % BMP_COLORS_USED_MODULUS;
    }
    switch (Header.iBitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

SBitmapChannel MakeChannel(uint32_t dwMask) {
    SBitmapChannel Channel{dwMask, 0, 0};
    if (dwMask != 0) {
        while (((dwMask >> Channel.iShift) & 1) == 0) {
            ++Channel.iShift;
        }
        Channel.dwMax = dwMask >> Channel.iShift;
    }
    return Channel;
}

// pMasks: the three masks after the header, or null for the default layout.
void SetChannels(int iBitCount, const unsigned char* pMasks, SBitmapFormat* pFormat) {
    uint32_t dwMasks[3];
    if (pMasks != nullptr) {
        for (int c = 0; c < 3; ++c) {
            dwMasks[c] = ReadU32(pMasks + 4 * c);
        }
    } else if (iBitCount == 16) {
        dwMasks[0] = 0x7C00;
        dwMasks[1] = 0x03E0;
        dwMasks[2] = 0x001F;
    } else {
        dwMasks[0] = 0xFF0000;
        dwMasks[1] = 0x00FF00;
        dwMasks[2] = 0x0000FF;
    }
    for (int c = 0; c < 3; ++c) {
        pFormat->Channels[c] = MakeChannel(dwMasks[c]);
    }
}

// Entries are blue, green, red (and a fourth byte in 4-byte entries).
void SetPalette(const unsigned char* pTable, size_t uEntries, size_t uEntrySize, SBitmapFormat* pFormat) {
    std::memset(pFormat->Palette, 0, sizeof(pFormat->Palette));
    const size_t uUsed = std::min(uEntries, static_cast<size_t>(BMP_PALETTE_SIZE));
    for (size_t i = 0; i < uUsed; ++i) {
        const unsigned char* pEntry = pTable + i * uEntrySize;
        pFormat->Palette[i][0] = pEntry[2];
        pFormat->Palette[i][1] = pEntry[1];
        pFormat->Palette[i][2] = pEntry[0];
    }
}

bool IsRle(uint32_t dwCompression) {
    return dwCompression == BMP_RLE8 || dwCompression == BMP_RLE4;
}

// Fills pFormat from the headers and checks it against the file. Returns
// null, or the message that refuses the file.
const char* ParseBitmap(const unsigned char* pData, size_t uSize, SBitmapFormat* pFormat) {
    // Without the "BM" signature the file is a bare bitmap: the information
    // header at byte 0 and the pixels right after the colour table.
    const bool bFileHeader = uSize >= 2 && pData[0] == 'B' && pData[1] == 'M';
    if (bFileHeader && uSize < BMP_FILE_HEADER_SIZE) {
        return BMP_MSG_CONVERSION;
    }
    const size_t uInfoStart = bFileHeader ? BMP_FILE_HEADER_SIZE : 0;
    SInfoHeader Header{};
    if (const char* szError = ReadInfoHeader(pData, uSize, uInfoStart, &Header)) {
        return szError;
    }

    const bool bTopDown = Header.llHeight < 0;
    const int64_t llRows = bTopDown ? -Header.llHeight : Header.llHeight;
    if (Header.iPlanes != 1 || Header.llWidth < 1 || llRows == 0 || !IsSupportedFormat(Header, bTopDown)) {
        return BMP_MSG_CONVERSION;
    }
    // Both factors are at most 2^31, so the product cannot wrap.
    if (static_cast<uint64_t>(Header.llWidth) * static_cast<uint64_t>(llRows) * 3 > BMP_MAX_OUTPUT_BYTES) {
        return BMP_MSG_OUT_OF_MEMORY;
    }

    const size_t uMasksStart = uInfoStart + Header.dwSize;
    const size_t uMaskBytes = Header.dwCompression == BMP_BITFIELDS ? BMP_MASKS_SIZE : 0;
    if (!InFile(uMasksStart, uMaskBytes, uSize)) {
        return BMP_MSG_CONVERSION;
    }
    const size_t uTableStart = uMasksStart + uMaskBytes;
    const size_t uEntrySize = Header.dwSize == BMP_CORE_HEADER_SIZE ? 3 : 4;
    const uint64_t llTableBytes = static_cast<uint64_t>(ColorTableEntries(Header)) * uEntrySize;
    const uint64_t llPixelStart =
        bFileHeader ? ReadU32(pData + BMP_PIXEL_OFFSET_FIELD) : uTableStart + llTableBytes;
    if (llPixelStart < uTableStart || llPixelStart > uSize) {
        return BMP_MSG_CONVERSION;
    }

    pFormat->iWidth = static_cast<int>(Header.llWidth);
    pFormat->iHeight = static_cast<int>(llRows);
    pFormat->bTopDown = bTopDown;
    pFormat->iBitCount = Header.iBitCount;
    pFormat->dwCompression = Header.dwCompression;
    pFormat->pPixels = pData + llPixelStart;
    pFormat->uPixelBytes = uSize - static_cast<size_t>(llPixelStart);
    SetChannels(Header.iBitCount, uMaskBytes != 0 ? pData + uMasksStart : nullptr, pFormat);
    // The table ends where the pixels begin, whatever count it claims.
    const uint64_t llTableInFile = std::min(llTableBytes, llPixelStart - uTableStart);
    SetPalette(pData + uTableStart, static_cast<size_t>(llTableInFile / uEntrySize), uEntrySize, pFormat);

    if (!IsRle(Header.dwCompression)) {
        // The last row need not carry its padding.
        const uint64_t llRowBytes = (static_cast<uint64_t>(Header.llWidth) * Header.iBitCount + 7) / 8;
        const uint64_t llNeeded = BitmapRowStride(pFormat->iWidth, pFormat->iBitCount) * (llRows - 1) + llRowBytes;
        if (llNeeded > pFormat->uPixelBytes) {
            return BMP_MSG_CONVERSION;
        }
    }
    return nullptr;
}

}  // namespace

ImageRGB* DecodeBitmapRGB(const unsigned char* pData, size_t uSize) {
    SBitmapFormat Format{};
    if (const char* szError = ParseBitmap(pData, uSize, &Format)) {
        return Fail(szError);
    }
    const size_t uOutBytes = static_cast<size_t>(Format.iWidth) * static_cast<size_t>(Format.iHeight) * 3;
    const bool bRle = IsRle(Format.dwCompression);
    // Pixels that an RLE stream skips stay black.
    auto* pOut = static_cast<unsigned char*>(bRle ? std::calloc(uOutBytes, 1) : std::malloc(uOutBytes));
    if (pOut == nullptr) {
        return Fail(BMP_MSG_OUT_OF_MEMORY);
    }
    if (!bRle) {
        DecodeBitmapRows(Format, pOut);
    } else if (!DecodeBitmapRle(Format, pOut)) {
        std::free(pOut);
        return Fail(BMP_MSG_CONVERSION);
    }
    auto* pImage = static_cast<ImageRGB*>(std::malloc(sizeof(ImageRGB)));
    if (pImage == nullptr) {
        std::free(pOut);
        return Fail(BMP_MSG_OUT_OF_MEMORY);
    }
    pImage->iSizeX = Format.iWidth;
    pImage->iSizeY = Format.iHeight;
    pImage->pData = pOut;
    return pImage;
}

ImageRGB* LoadBitmapRGB(const char* szFileName) {
    CFileMap File;
    if (szFileName == nullptr || !File.Open(szFileName)) {
        const std::string sName = szFileName != nullptr ? szFileName : "";
        const std::string sReason =
            File.iError == FILE_NOT_REGULAR ? std::string(": ") + DescribeFileError(File.iError) : "";
        return Fail(("Failed to open DIB file " + sName + sReason + ".\n").c_str());
    }
    return DecodeBitmapRGB(File.pData, File.uSize);
}

void FreeImageRGB(ImageRGB* pImage) {
    if (pImage != nullptr) {
        std::free(pImage->pData);
        std::free(pImage);
    }
}
