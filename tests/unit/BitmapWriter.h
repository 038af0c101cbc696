#pragma once

// Builds BMP files in memory for the decoder and texture tests, and catches
// the messages the decoder shows.

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "board/Bitmap.h"
#include "platform/Message.h"

struct SBmpLayout {
    bool bFileHeader = true;     // false: a bare bitmap, the information header at byte 0
    uint32_t dwHeaderSize = 40;  // 12 writes the 16-bit fields of the small header
    int32_t iWidth = 1;
    int32_t iHeight = 1;
    uint16_t wPlanes = 1;
    uint16_t wBitCount = 24;
    uint32_t dwCompression = 0;
    uint32_t dwColorsUsed = 0;
    std::vector<uint32_t> Masks;  // written right after the header
    std::vector<uint8_t> Table;   // colour-table bytes as stored
    std::vector<uint8_t> Pixels;  // pixel bytes as stored
    int64_t llPixelOffset = -1;   // -1: right after the table
};

inline SBmpLayout Bmp(int32_t iWidth, int32_t iHeight, uint16_t wBitCount, std::vector<uint8_t> Pixels,
                    uint32_t dwCompression = 0, std::vector<uint32_t> Masks = {}) {
    return {true, 40, iWidth, iHeight, 1, wBitCount, dwCompression, 0, std::move(Masks), {}, std::move(Pixels), -1};
}

inline void PutLe(std::string* pOut, uint64_t llValue, int iBytes) {
    for (int i = 0; i < iBytes; ++i) {
        pOut->push_back(static_cast<char>((llValue >> (8 * i)) & 0xFF));
    }
}

inline std::string BuildBmp(const SBmpLayout& Layout) {
    const bool bSmall = Layout.dwHeaderSize == 12;
    std::string sInfo;
    PutLe(&sInfo, Layout.dwHeaderSize, 4);
    PutLe(&sInfo, static_cast<uint32_t>(Layout.iWidth), bSmall ? 2 : 4);
    PutLe(&sInfo, static_cast<uint32_t>(Layout.iHeight), bSmall ? 2 : 4);
    PutLe(&sInfo, Layout.wPlanes, 2);
    PutLe(&sInfo, Layout.wBitCount, 2);
    if (!bSmall) {
        for (const uint64_t llField : {uint64_t(Layout.dwCompression), uint64_t(Layout.Pixels.size()), uint64_t(2835),
                                       uint64_t(2835), uint64_t(Layout.dwColorsUsed), uint64_t(0)}) {
            PutLe(&sInfo, llField, 4);
        }
        // The larger headers of later versions (up to 124 bytes) are padded with zeros.
        sInfo.resize(std::max<size_t>(sInfo.size(), std::min<uint32_t>(Layout.dwHeaderSize, 124)), '\0');
    }
    for (const uint32_t dwMask : Layout.Masks) {
        PutLe(&sInfo, dwMask, 4);
    }
    sInfo.append(Layout.Table.begin(), Layout.Table.end());

    std::string sFile;
    if (Layout.bFileHeader) {
        sFile = "BM";
        PutLe(&sFile, 14 + sInfo.size() + Layout.Pixels.size(), 4);
        PutLe(&sFile, 0, 4);
        PutLe(&sFile, Layout.llPixelOffset >= 0 ? static_cast<uint64_t>(Layout.llPixelOffset) : 14 + sInfo.size(), 4);
    }
    sFile += sInfo;
    sFile.append(Layout.Pixels.begin(), Layout.Pixels.end());
    return sFile;
}

// Appends one colour-table entry: blue, green, red and a zero byte.
inline void AddColor(SBmpLayout* pSpec, uint8_t r, uint8_t g, uint8_t b) {
    pSpec->Table.insert(pSpec->Table.end(), {b, g, r, 0});
}

// A decoded image, or none, and the messages the decoder showed meanwhile.
struct SDecoded {
    // "decoded" for an image without a message, the message of a refusal that
    // showed exactly one, else a description in parentheses.
    std::string Outcome() const {
        if ((pImage != nullptr) == Messages.empty() && Messages.size() <= 1) {
            return pImage != nullptr ? "decoded" : Messages[0];
        }
        return "(" + std::to_string(Messages.size()) + " messages" + (pImage != nullptr ? " and an image)" : ")");
    }

    std::unique_ptr<ImageRGB, void (*)(ImageRGB*)> pImage{nullptr, FreeImageRGB};
    std::vector<std::string> Messages;
};

// Runs the decoder with its messages caught instead of going to stderr.
inline SDecoded CatchMessages(const std::function<ImageRGB*()>& fnDecode) {
    static std::vector<std::string>* s_pMessages;
    SDecoded Result;
    s_pMessages = &Result.Messages;
    const MessageSink pPrevious = SetMessageSink([](const char* szText) { s_pMessages->push_back(szText); });
    Result.pImage.reset(fnDecode());
    SetMessageSink(pPrevious);
    return Result;
}

inline SDecoded Decode(const std::string& sBytes) {
    return CatchMessages(
        [&sBytes] { return DecodeBitmapRGB(reinterpret_cast<const unsigned char*>(sBytes.data()), sBytes.size()); });
}

inline SDecoded Load(const char* szPath) {
    return CatchMessages([szPath] { return LoadBitmapRGB(szPath); });
}

using Rgb = std::array<int, 3>;

// Red, green, blue of every pixel, bottom row first, read as tightly packed rows.
inline std::vector<Rgb> PixelsOf(const ImageRGB& Image) {
    std::vector<Rgb> Pixels;
    for (size_t i = 0; i < static_cast<size_t>(Image.iSizeX) * Image.iSizeY; ++i) {
        Pixels.push_back({Image.pData[3 * i], Image.pData[3 * i + 1], Image.pData[3 * i + 2]});
    }
    return Pixels;
}
