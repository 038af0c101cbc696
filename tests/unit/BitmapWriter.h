#pragma once

// Builds BMP files in memory, and runs the decoder with its messages caught.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "board/Bitmap.h"
#include "platform/Message.h"

// A BMP with the file header and the 40-byte information header.
struct SBmpLayout {
    int32_t iWidth = 1;
    int32_t iHeight = 1;
    uint16_t wBitCount = 24;
    std::vector<uint8_t> Table;   // colour-table bytes as stored
    std::vector<uint8_t> Pixels;  // pixel bytes as stored: rows bottom-up, each padded to 4 bytes
};

inline SBmpLayout Bmp(int32_t iWidth, int32_t iHeight, uint16_t wBitCount, std::vector<uint8_t> Pixels) {
    return {iWidth, iHeight, wBitCount, {}, std::move(Pixels)};
}

// Appends one colour-table entry: blue, green, red and a zero byte.
inline void AddColor(SBmpLayout* pLayout, uint8_t r, uint8_t g, uint8_t b) {
    pLayout->Table.insert(pLayout->Table.end(), {b, g, r, 0});
}

inline std::string BuildBmp(const SBmpLayout& Layout) {
    const auto dwOffset = static_cast<uint32_t>(54 + Layout.Table.size());
    const auto dwPixels = static_cast<uint32_t>(Layout.Pixels.size());
    // File size, reserved, pixel offset; header size, width, height, planes and bit count (2 bytes each),
    // compression, image size, two resolutions, colours used and important.
    const uint32_t FIELDS[] = {dwOffset + dwPixels, 0, dwOffset, 40, static_cast<uint32_t>(Layout.iWidth),
                               static_cast<uint32_t>(Layout.iHeight), 1u | uint32_t{Layout.wBitCount} << 16,
                               0, dwPixels, 2835, 2835, 0, 0};
    std::string sFile = "BM";
    for (const uint32_t dwField : FIELDS) {
        for (int iShift = 0; iShift < 32; iShift += 8) {
            sFile.push_back(static_cast<char>(dwField >> iShift));
        }
    }
    sFile.append(Layout.Table.begin(), Layout.Table.end());
    return sFile.append(Layout.Pixels.begin(), Layout.Pixels.end());
}

// A decoded image, or none, and the messages the decoder showed meanwhile.
struct SDecoded {
    std::unique_ptr<ImageRGB, void (*)(ImageRGB*)> pImage{nullptr, FreeImageRGB};
    std::vector<std::string> Messages;
};

// Decodes the bytes from a buffer of exactly their size, where the sanitizer
// sees any read past the end; or, when one is named, the file.
inline SDecoded Decode(const std::string& sBytes, const char* szFile = nullptr) {
    static std::vector<std::string>* s_pMessages;
    const std::vector<unsigned char> Bytes(sBytes.begin(), sBytes.end());
    SDecoded Result;
    s_pMessages = &Result.Messages;
    const MessageSink pPrevious = SetMessageSink([](const char* szText) { s_pMessages->push_back(szText); });
    Result.pImage.reset(szFile != nullptr ? LoadBitmapRGB(szFile) : DecodeBitmapRGB(Bytes.data(), Bytes.size()));
    SetMessageSink(pPrevious);
    return Result;
}
