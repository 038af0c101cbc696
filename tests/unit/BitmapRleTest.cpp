// Run-length-encoded BMPs: runs, absolute runs, escapes and broken streams.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "unit/BitmapWriter.h"

namespace {

using Rgb = std::vector<int>;
const Rgb BLACK = {0, 0, 0};

// Colour i of the test palette; index 0 is not black, so skipped pixels show.
Rgb Color(int i) {
    return {i, 100 + i, 200 + i};
}

SBmpSpec RleSpec(int iWidth, int iHeight, bool bRle4, const std::vector<uint8_t>& Stream) {
    SBmpSpec Spec;
    Spec.iWidth = iWidth;
    Spec.iHeight = iHeight;
    Spec.wBitCount = bRle4 ? 4 : 8;
    Spec.dwCompression = bRle4 ? 2 : 1;
    Spec.dwColorsUsed = 16;
    for (int i = 0; i < 16; ++i) {
        AddColor(&Spec, static_cast<uint8_t>(i), static_cast<uint8_t>(100 + i), static_cast<uint8_t>(200 + i));
    }
    Spec.Pixels = Stream;
    return Spec;
}

ImagePtr DecodeRle(int iWidth, int iHeight, bool bRle4, const std::vector<uint8_t>& Stream,
                   std::vector<std::string>* pMessages = nullptr) {
    CMessageCapture Capture;
    ImagePtr pImage = DecodeBytes(BuildBmp(RleSpec(iWidth, iHeight, bRle4, Stream)));
    if (pMessages != nullptr) {
        *pMessages = Capture.Messages();
    } else {
        EXPECT_TRUE(Capture.Messages().empty()) << Capture.Messages()[0];
    }
    return pImage;
}

std::vector<Rgb> Row(const ImageRGB& Image, int y) {
    std::vector<Rgb> Pixels;
    for (int x = 0; x < Image.iSizeX; ++x) {
        Pixels.push_back(PixelAt(Image, x, y));
    }
    return Pixels;
}

TEST(BitmapRle, Rle8RunsAndEndCodes) {
    const ImagePtr pImage = DecodeRle(4, 2, false, {3, 1, 1, 2, 0, 0, 4, 3, 0, 1});
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(Row(*pImage, 0), (std::vector<Rgb>{Color(1), Color(1), Color(1), Color(2)}));
    EXPECT_EQ(Row(*pImage, 1), (std::vector<Rgb>(4, Color(3))));
}

TEST(BitmapRle, Rle8AbsoluteRunSkipsItsPadByte) {
    // Three indices, one pad byte, then a run of two.
    const ImagePtr pImage = DecodeRle(5, 1, false, {0, 3, 5, 6, 7, 0xEE, 2, 4, 0, 1});
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(Row(*pImage, 0), (std::vector<Rgb>{Color(5), Color(6), Color(7), Color(4), Color(4)}));
}

TEST(BitmapRle, DeltaLeavesSkippedPixelsBlack) {
    const ImagePtr pImage = DecodeRle(4, 3, false, {1, 1, 0, 2, 2, 1, 1, 2, 0, 1});
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(Row(*pImage, 0), (std::vector<Rgb>{Color(1), BLACK, BLACK, BLACK}));
    EXPECT_EQ(Row(*pImage, 1), (std::vector<Rgb>{BLACK, BLACK, BLACK, Color(2)}));
    EXPECT_EQ(Row(*pImage, 2), (std::vector<Rgb>(4, BLACK)));
}

TEST(BitmapRle, EarlyEndOfPictureLeavesTheRestBlack) {
    const ImagePtr pImage = DecodeRle(2, 2, false, {1, 9, 0, 1, 2, 9});
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(Row(*pImage, 0), (std::vector<Rgb>{Color(9), BLACK}));
    EXPECT_EQ(Row(*pImage, 1), (std::vector<Rgb>(2, BLACK)));
}

TEST(BitmapRle, RunsPastTheRightEdgeAreClippedNotWrapped) {
    const ImagePtr pImage = DecodeRle(3, 2, false, {5, 1, 0, 0, 0, 4, 2, 2, 2, 2, 0, 1});
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(Row(*pImage, 0), (std::vector<Rgb>(3, Color(1))));
    EXPECT_EQ(Row(*pImage, 1), (std::vector<Rgb>(3, Color(2))));
}

TEST(BitmapRle, DeltaPastTheEdgesEndsRowOrPicture) {
    // Far right: later pixels of the row are dropped; far up: the picture ends.
    const ImagePtr pImage = DecodeRle(2, 2, false, {0, 2, 200, 0, 1, 3, 0, 0, 1, 4, 0, 2, 0, 9});
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(Row(*pImage, 0), (std::vector<Rgb>(2, BLACK)));
    EXPECT_EQ(Row(*pImage, 1), (std::vector<Rgb>{Color(4), BLACK}));
}

TEST(BitmapRle, IndicesPastTheTableAreBlack) {
    const ImagePtr pImage = DecodeRle(2, 1, false, {1, 200, 0, 1, 17, 0, 1});
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(Row(*pImage, 0), (std::vector<Rgb>{BLACK, BLACK}));
}

TEST(BitmapRle, Rle4RunsAlternateNibbles) {
    const ImagePtr pImage = DecodeRle(5, 1, true, {5, 0x12, 0, 1});
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(Row(*pImage, 0), (std::vector<Rgb>{Color(1), Color(2), Color(1), Color(2), Color(1)}));
}

TEST(BitmapRle, Rle4AbsoluteRunsPadToWords) {
    // Three nibbles fill two bytes (no pad); five fill three (one pad byte).
    const ImagePtr pImage =
        DecodeRle(9, 1, true, {0, 3, 0x34, 0x5F, 0, 5, 0x12, 0x34, 0x5F, 0xEE, 1, 0x77, 0, 1});
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(Row(*pImage, 0), (std::vector<Rgb>{Color(3), Color(4), Color(5), Color(1), Color(2), Color(3),
                                                 Color(4), Color(5), Color(7)}));
}

TEST(BitmapRle, StreamMayStopOnceEveryRowIsDone) {
    // All rows closed by end-of-line, or the last pixel written: no end code needed.
    const ImagePtr pClosed = DecodeRle(2, 2, false, {2, 1, 0, 0, 2, 3, 0, 0});
    ASSERT_NE(pClosed, nullptr);
    EXPECT_EQ(Row(*pClosed, 1), (std::vector<Rgb>(2, Color(3))));
    const ImagePtr pFull = DecodeRle(2, 2, false, {2, 1, 0, 0, 2, 3});
    ASSERT_NE(pFull, nullptr);
    EXPECT_EQ(Row(*pFull, 1), (std::vector<Rgb>(2, Color(3))));
}

TEST(BitmapRle, StreamEndingEarlyIsRefused) {
    const std::vector<std::vector<uint8_t>> STREAMS = {
        {},                            // nothing at all
        {2, 1, 0, 0, 1, 3},            // a pixel short of the last row
        {2, 1},                        // a row short
        {2, 1, 0},                     // half an escape
        {0, 2, 1},                     // half a delta
        {0, 4, 1, 2, 3},               // an absolute run one index short
        {0, 5, 0x12, 0x34},            // an RLE4 absolute run one byte short
    };
    for (size_t i = 0; i < STREAMS.size(); ++i) {
        const bool bRle4 = i == STREAMS.size() - 1;
        std::vector<std::string> Messages;
        EXPECT_EQ(DecodeRle(2, 2, bRle4, STREAMS[i], &Messages), nullptr) << i;
        EXPECT_EQ(Messages, std::vector<std::string>{"Image file conversion error."}) << i;
    }
}

}  // namespace
