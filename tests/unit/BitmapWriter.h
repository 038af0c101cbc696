#pragma once

// Builds BMP files in memory for the decoder and texture tests, and captures
// the messages the decoder shows.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "board/Bitmap.h"
#include "platform/Message.h"

struct SBmpSpec {
    bool bFileHeader = true;   // false: a bare bitmap, the information header at byte 0
    uint32_t dwHeaderSize = 40;  // 12 writes the 16-bit fields of the small header
    int32_t iWidth = 1;
    int32_t iHeight = 1;
    uint16_t wPlanes = 1;
    uint16_t wBitCount = 24;
    uint32_t dwCompression = 0;
    uint32_t dwColorsUsed = 0;
    std::vector<uint32_t> Masks;        // written right after the header
    std::vector<uint8_t> Table;         // colour-table bytes as stored
    std::vector<uint8_t> Pixels;        // pixel bytes as stored
    int64_t llPixelOffset = -1;         // -1: right after the table
};

inline void PutLe(std::string* pOut, uint64_t llValue, int iBytes) {
    for (int i = 0; i < iBytes; ++i) {
        pOut->push_back(static_cast<char>((llValue >> (8 * i)) & 0xFF));
    }
}

inline std::string BuildBmp(const SBmpSpec& Spec) {
    std::string sInfo;
    PutLe(&sInfo, Spec.dwHeaderSize, 4);
    if (Spec.dwHeaderSize == 12) {
        PutLe(&sInfo, static_cast<uint16_t>(Spec.iWidth), 2);
        PutLe(&sInfo, static_cast<uint16_t>(Spec.iHeight), 2);
        PutLe(&sInfo, Spec.wPlanes, 2);
        PutLe(&sInfo, Spec.wBitCount, 2);
    } else {
        PutLe(&sInfo, static_cast<uint32_t>(Spec.iWidth), 4);
        PutLe(&sInfo, static_cast<uint32_t>(Spec.iHeight), 4);
        PutLe(&sInfo, Spec.wPlanes, 2);
        PutLe(&sInfo, Spec.wBitCount, 2);
        PutLe(&sInfo, Spec.dwCompression, 4);
        PutLe(&sInfo, Spec.Pixels.size(), 4);
        PutLe(&sInfo, 2835, 4);
        PutLe(&sInfo, 2835, 4);
        PutLe(&sInfo, Spec.dwColorsUsed, 4);
        PutLe(&sInfo, 0, 4);
        // Header sizes past 40 are padded with zeros.
        sInfo.resize(std::max<size_t>(sInfo.size(), Spec.dwHeaderSize), '\0');
    }
    for (const uint32_t dwMask : Spec.Masks) {
        PutLe(&sInfo, dwMask, 4);
    }
    sInfo.append(Spec.Table.begin(), Spec.Table.end());

    std::string sFile;
    if (Spec.bFileHeader) {
        const uint64_t llOffset = Spec.llPixelOffset >= 0 ? static_cast<uint64_t>(Spec.llPixelOffset) : 14 + sInfo.size();
        sFile = "BM";
        PutLe(&sFile, 14 + sInfo.size() + Spec.Pixels.size(), 4);
        PutLe(&sFile, 0, 4);
        PutLe(&sFile, llOffset, 4);
    }
    sFile += sInfo;
    sFile.append(Spec.Pixels.begin(), Spec.Pixels.end());
    return sFile;
}

// Appends one colour-table entry: blue, green, red and a zero byte.
inline void AddColor(SBmpSpec* pSpec, uint8_t r, uint8_t g, uint8_t b) {
    pSpec->Table.insert(pSpec->Table.end(), {b, g, r, 0});
}

inline std::vector<std::string>& CapturedMessages() {
    static std::vector<std::string> s_Messages;
    return s_Messages;
}

inline void CaptureMessage(const char* szText) {
    CapturedMessages().push_back(szText);
}

// Sends the messages of its lifetime to CapturedMessages().
class CMessageCapture {
public:
    CMessageCapture() : pPrevious(SetMessageSink(CaptureMessage)) { CapturedMessages().clear(); }
    ~CMessageCapture() { SetMessageSink(pPrevious); }
    CMessageCapture(const CMessageCapture&) = delete;
    CMessageCapture& operator=(const CMessageCapture&) = delete;

    const std::vector<std::string>& Messages() const { return CapturedMessages(); }

    MessageSink pPrevious;
};

using ImagePtr = std::unique_ptr<ImageRGB, void (*)(ImageRGB*)>;

inline ImagePtr DecodeBytes(const std::string& sBytes) {
    return ImagePtr(DecodeBitmapRGB(reinterpret_cast<const unsigned char*>(sBytes.data()), sBytes.size()),
                    FreeImageRGB);
}

// Red, green, blue of the pixel in column x of row y, row 0 at the bottom.
inline std::vector<int> PixelAt(const ImageRGB& Image, int x, int y) {
    const unsigned char* p = Image.pData + 3 * (static_cast<size_t>(y) * Image.iSizeX + x);
    return {p[0], p[1], p[2]};
}
