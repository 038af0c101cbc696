// Files the BMP reader refuses, each with exactly one message.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "support/TempFile.h"
#include "unit/BitmapWriter.h"

namespace {

const std::string MSG_UNKNOWN = "Unknown DIB file format.";
const std::string MSG_MEMORY = "Out of memory.";
const std::string MSG_CONVERSION = "Image file conversion error.";

// Decodes and returns the messages; expects a refusal.
std::vector<std::string> Refusal(const std::string& sBytes) {
    CMessageCapture Capture;
    const ImagePtr pImage = DecodeBytes(sBytes);
    EXPECT_EQ(pImage, nullptr);
    return Capture.Messages();
}

std::vector<std::string> One(const std::string& sMessage) {
    return {sMessage};
}

SBmpSpec Rgb24ThreeByTwo() {
    SBmpSpec Spec;
    Spec.iWidth = 3;
    Spec.iHeight = 2;
    Spec.Pixels.assign(24, 0x5A);
    return Spec;
}

TEST(BitmapRefusal, MissingFileNamesItInOneLine) {
    CMessageCapture Capture;
    EXPECT_EQ(LoadBitmapRGB("no/such/dir/start.bmp"), nullptr);
    // The text ends with its line break, as the caption-less original did.
    EXPECT_EQ(Capture.Messages(), One("Failed to open DIB file no/such/dir/start.bmp.\n"));
}

TEST(BitmapRefusal, DirectoryCannotBeOpenedAsAFile) {
    CMessageCapture Capture;
    EXPECT_EQ(LoadBitmapRGB("tests"), nullptr);
    EXPECT_EQ(Capture.Messages(), One("Failed to open DIB file tests.\n"));
}

TEST(BitmapRefusal, FileOnDiskDecodesLikeItsBytes) {
    const CTempFile File(BuildBmp(Rgb24ThreeByTwo()), ".bmp");
    CMessageCapture Capture;
    const ImagePtr pImage(LoadBitmapRGB(File.Path()), FreeImageRGB);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->iSizeX, 3);
    EXPECT_EQ(pImage->pData[0], 0x5A);
    EXPECT_TRUE(Capture.Messages().empty());
}

TEST(BitmapRefusal, EmptyFileIsAConversionError) {
    const CTempFile File("", ".bmp");
    CMessageCapture Capture;
    EXPECT_EQ(LoadBitmapRGB(File.Path()), nullptr);
    EXPECT_EQ(Capture.Messages(), One(MSG_CONVERSION));
    EXPECT_EQ(Refusal(std::string()), One(MSG_CONVERSION));
}

TEST(BitmapRefusal, OnlyTwelveAndFortyByteHeadersAreKnown) {
    for (const uint32_t dwSize : {0u, 16u, 52u, 56u, 64u, 108u, 124u, 0xFFFFFFFFu}) {
        SBmpSpec Spec = Rgb24ThreeByTwo();
        Spec.dwHeaderSize = dwSize;
        EXPECT_EQ(Refusal(BuildBmp(Spec)), One(MSG_UNKNOWN)) << dwSize;
        Spec.bFileHeader = false;
        EXPECT_EQ(Refusal(BuildBmp(Spec)), One(MSG_UNKNOWN)) << dwSize << " bare";
    }
}

TEST(BitmapRefusal, EveryTruncationIsRefused) {
    // The last row may lack its padding; anything shorter is refused.
    const std::string sFile = BuildBmp(Rgb24ThreeByTwo());
    const size_t uLastRowEnd = sFile.size() - 3;
    for (size_t uLength = 0; uLength < uLastRowEnd; ++uLength) {
        EXPECT_EQ(Refusal(sFile.substr(0, uLength)), One(MSG_CONVERSION)) << uLength;
    }
    for (size_t uLength = uLastRowEnd; uLength <= sFile.size(); ++uLength) {
        EXPECT_NE(DecodeBytes(sFile.substr(0, uLength)), nullptr) << uLength;
    }
}

TEST(BitmapRefusal, TruncatedSmallHeaderAndMasks) {
    SBmpSpec Small;
    Small.dwHeaderSize = 12;
    Small.wBitCount = 8;
    Small.Table.assign(3 * 256, 0);
    Small.Pixels = {1, 0, 0, 0};
    const std::string sSmall = BuildBmp(Small);
    EXPECT_EQ(Refusal(sSmall.substr(0, 14 + 11)), One(MSG_CONVERSION));
    EXPECT_NE(DecodeBytes(sSmall), nullptr);

    SBmpSpec Masked;
    Masked.wBitCount = 16;
    Masked.dwCompression = 3;
    Masked.Masks = {0xF800, 0x07E0};  // one mask short, and no pixels
    EXPECT_EQ(Refusal(BuildBmp(Masked)), One(MSG_CONVERSION));
}

TEST(BitmapRefusal, LyingPixelOffsets) {
    SBmpSpec Spec = Rgb24ThreeByTwo();
    const int64_t llEnd = static_cast<int64_t>(BuildBmp(Spec).size());
    // Past the end, at the end, inside the headers, near 4 GiB.
    for (const int64_t llOffset : {llEnd + 1, llEnd, int64_t(20), int64_t(0), int64_t(0xFFFFFFF0)}) {
        Spec.llPixelOffset = llOffset;
        EXPECT_EQ(Refusal(BuildBmp(Spec)), One(MSG_CONVERSION)) << llOffset;
    }
    // An offset that leaves too few bytes for the rows.
    Spec.llPixelOffset = 54 + 4;
    EXPECT_EQ(Refusal(BuildBmp(Spec)), One(MSG_CONVERSION));
}

TEST(BitmapRefusal, BareBitmapWhoseTableRunsPastTheEnd) {
    SBmpSpec Spec;
    Spec.bFileHeader = false;
    Spec.wBitCount = 8;
    Spec.Table.assign(4 * 100, 0);  // 256 entries promised by the bit count
    EXPECT_EQ(Refusal(BuildBmp(Spec)), One(MSG_CONVERSION));
}

TEST(BitmapRefusal, HugeSizesAreOutOfMemoryBeforeAllocating) {
    struct SSize {
        int32_t iWidth;
        int32_t iHeight;
    };
    const SSize SIZES[] = {{INT32_MAX, INT32_MAX}, {INT32_MAX, INT32_MIN}, {50000, 50000},
                           {1, INT32_MIN}, {65535, 65535}, {16384, 21846}};
    for (const SSize& Size : SIZES) {
        SBmpSpec Spec;
        Spec.iWidth = Size.iWidth;
        Spec.iHeight = Size.iHeight;
        EXPECT_EQ(Refusal(BuildBmp(Spec)), One(MSG_MEMORY)) << Size.iWidth << " x " << Size.iHeight;
    }
}

TEST(BitmapRefusal, OutputJustUnderTheLimitIsNoMemoryError) {
    // 16384 x 21845 x 3 bytes fit under the limit; the rows are not in the file.
    ASSERT_LE(uint64_t(16384) * 21845 * 3, BMP_MAX_OUTPUT_BYTES);
    SBmpSpec Spec;
    Spec.iWidth = 16384;
    Spec.iHeight = 21845;
    EXPECT_EQ(Refusal(BuildBmp(Spec)), One(MSG_CONVERSION));
}

// Bytes of address space the process holds now.
uint64_t AddressSpaceInUse() {
    std::ifstream Statm("/proc/self/statm");
    uint64_t llPages = 0;
    Statm >> llPages;
    return llPages * static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
}

TEST(BitmapRefusal, MissingRowsAreFoundWithoutAllocatingTheOutput) {
    // 16000 x 16000 would need 768 MB; the process may grow by 256 MB only,
    // so an allocation before the check would end in "Out of memory.". (The
    // sanitizer's allocator holds its address space from the start; there
    // only the message is checked.)
    rlimit Old{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &Old), 0);
    rlimit Tight = Old;
    Tight.rlim_cur = AddressSpaceInUse() + (uint64_t(256) << 20);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &Tight), 0);
    SBmpSpec Spec;
    Spec.iWidth = 16000;
    Spec.iHeight = 16000;
    Spec.wBitCount = 8;
    Spec.Pixels.assign(1000, 1);
    const std::vector<std::string> Messages = Refusal(BuildBmp(Spec));
    setrlimit(RLIMIT_AS, &Old);
    EXPECT_EQ(Messages, One(MSG_CONVERSION));
}

TEST(BitmapRefusal, ImpossibleGeometry) {
    struct SCase {
        int32_t iWidth;
        int32_t iHeight;
        uint16_t wPlanes;
    };
    const SCase CASES[] = {{0, 2, 1}, {-3, 2, 1}, {3, 0, 1}, {3, 2, 0}, {3, 2, 2}};
    for (const SCase& Case : CASES) {
        SBmpSpec Spec = Rgb24ThreeByTwo();
        Spec.iWidth = Case.iWidth;
        Spec.iHeight = Case.iHeight;
        Spec.wPlanes = Case.wPlanes;
        EXPECT_EQ(Refusal(BuildBmp(Spec)), One(MSG_CONVERSION))
            << Case.iWidth << " x " << Case.iHeight << " planes " << Case.wPlanes;
    }
    SBmpSpec Small;
    Small.dwHeaderSize = 12;
    Small.iWidth = 0;
    EXPECT_EQ(Refusal(BuildBmp(Small)), One(MSG_CONVERSION));
}

TEST(BitmapRefusal, UnsupportedBitCountsAndCompressions) {
    struct SCase {
        uint16_t wBitCount;
        uint32_t dwCompression;
        int32_t iHeight;
    };
    const SCase CASES[] = {
        {0, 0, 1},   {2, 0, 1},  {3, 0, 1},  {15, 0, 1}, {48, 0, 1}, {64, 0, 1}, {30000, 0, 1},
        {4, 1, 1},   {8, 2, 1},  {24, 1, 1}, {24, 3, 1}, {8, 3, 1},  {24, 4, 1}, {24, 5, 1},
        {32, 6, 1},  {8, 1, -1}, {4, 2, -1},
    };
    for (const SCase& Case : CASES) {
        SBmpSpec Spec;
        Spec.wBitCount = Case.wBitCount;
        Spec.dwCompression = Case.dwCompression;
        Spec.iHeight = Case.iHeight;
        Spec.Masks = {0xFF0000, 0xFF00, 0xFF};
        Spec.Pixels.assign(64, 0);
        EXPECT_EQ(Refusal(BuildBmp(Spec)), One(MSG_CONVERSION))
            << Case.wBitCount << " bits, compression " << Case.dwCompression << ", height " << Case.iHeight;
    }
}

}  // namespace
