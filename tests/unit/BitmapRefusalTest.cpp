// Files the BMP reader refuses, each with exactly one message.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <climits>
#include <fstream>

#include "support/TempFile.h"
#include "unit/BitmapWriter.h"

namespace {

const std::string MSG_UNKNOWN = "Unknown DIB file format.";
const std::string MSG_MEMORY = "Out of memory.";
const std::string MSG_CONVERSION = "Image file conversion error.";

// 3 x 2 pixels of 24 bits: 78 bytes, the headers 54 of them.
SBmpLayout Rgb24ThreeByTwo() {
    return Bmp(3, 2, 24, std::vector<uint8_t>(24, 0x5A));
}

std::string Outcome(const SBmpLayout& Layout) {
    return Decode(BuildBmp(Layout)).Outcome();
}

TEST(BitmapRefusal, FilesThatCannotBeOpenedOrAreEmpty) {
    // The open failure ends with its line break, as the caption-less original did.
    EXPECT_EQ(Load("no/such/dir/start.bmp").Outcome(), "Failed to open DIB file no/such/dir/start.bmp.\n");
    EXPECT_EQ(Load("tests").Outcome(), "Failed to open DIB file tests.\n");
    const CTempFile Empty("", ".bmp");
    EXPECT_EQ(Load(Empty.Path()).Outcome(), MSG_CONVERSION);
    EXPECT_EQ(Decode("").Outcome(), MSG_CONVERSION);
}

TEST(BitmapRefusal, OnlyTwelveAndFortyByteHeadersAreKnown) {
    for (const uint32_t dwSize : {0u, 16u, 52u, 56u, 64u, 108u, 124u, 0xFFFFFFFFu}) {
        SBmpLayout Layout = Rgb24ThreeByTwo();
        Layout.dwHeaderSize = dwSize;
        EXPECT_EQ(Outcome(Layout), MSG_UNKNOWN) << dwSize;
        Layout.bFileHeader = false;
        EXPECT_EQ(Outcome(Layout), MSG_UNKNOWN) << dwSize << " bare";
    }
}

TEST(BitmapRefusal, EveryTruncationIsRefused) {
    // The last row may lack its padding; anything shorter is refused.
    const std::string sFile = BuildBmp(Rgb24ThreeByTwo());
    for (size_t uLength = 0; uLength <= sFile.size(); ++uLength) {
        const bool bWhole = uLength >= sFile.size() - 3;
        EXPECT_EQ(Decode(sFile.substr(0, uLength)).Outcome(), bWhole ? "decoded" : MSG_CONVERSION) << uLength;
    }
    SBmpLayout Small = Bmp(1, 1, 8, {1, 0, 0, 0});
    Small.dwHeaderSize = 12;
    Small.Table.assign(3 * 256, 0);
    const std::string sSmall = BuildBmp(Small);
    EXPECT_EQ(Decode(sSmall.substr(0, 14 + 11)).Outcome(), MSG_CONVERSION);
    EXPECT_EQ(Decode(sSmall).Outcome(), "decoded");
    EXPECT_EQ(Outcome(Bmp(1, 1, 16, {}, 3, {0xF800, 0x07E0})), MSG_CONVERSION);  // a mask short
}

TEST(BitmapRefusal, LyingOrImpossibleHeaders) {
    const struct {
        int32_t iWidth, iHeight;
        uint16_t wPlanes;
        int64_t llPixelOffset;
    } CASES[] = {{0, 2, 1, -1},  {-3, 2, 1, -1}, {3, 0, 1, -1}, {3, 2, 0, -1}, {3, 2, 2, -1},         {3, 2, 1, 79},
                 {3, 2, 1, 78}, {3, 2, 1, 20},  {3, 2, 1, 0},  {3, 2, 1, 0xFFFFFFF0}, {3, 2, 1, 54 + 4}};
    for (const auto& Case : CASES) {
        SBmpLayout Layout = Rgb24ThreeByTwo();
        Layout.iWidth = Case.iWidth;
        Layout.iHeight = Case.iHeight;
        Layout.wPlanes = Case.wPlanes;
        Layout.llPixelOffset = Case.llPixelOffset;
        EXPECT_EQ(Outcome(Layout), MSG_CONVERSION)
            << Case.iWidth << " x " << Case.iHeight << ", planes " << Case.wPlanes << ", offset " << Case.llPixelOffset;
    }
    SBmpLayout Small = Bmp(0, 1, 24, {});
    Small.dwHeaderSize = 12;
    EXPECT_EQ(Outcome(Small), MSG_CONVERSION);
    SBmpLayout Bare = Bmp(1, 1, 8, {});
    Bare.bFileHeader = false;
    Bare.Table.assign(4 * 100, 0);  // 256 entries promised by the bit count
    EXPECT_EQ(Outcome(Bare), MSG_CONVERSION);
}

TEST(BitmapRefusal, UnsupportedBitCountsAndCompressions) {
    const struct {
        uint16_t wBitCount;
        uint32_t dwCompression;
        int32_t iHeight;
    } CASES[] = {
        {0, 0, 1}, {2, 0, 1}, {3, 0, 1}, {15, 0, 1}, {48, 0, 1}, {64, 0, 1}, {30000, 0, 1}, {4, 1, 1}, {8, 2, 1},
        {24, 1, 1}, {24, 3, 1}, {8, 3, 1}, {24, 4, 1}, {24, 5, 1}, {32, 6, 1}, {8, 1, -1}, {4, 2, -1},
    };
    for (const auto& Case : CASES) {
        const SBmpLayout Layout = Bmp(1, Case.iHeight, Case.wBitCount, std::vector<uint8_t>(64, 0), Case.dwCompression,
                                  {0xFF0000, 0xFF00, 0xFF});
        EXPECT_EQ(Outcome(Layout), MSG_CONVERSION)
            << Case.wBitCount << " bits, compression " << Case.dwCompression << ", height " << Case.iHeight;
    }
}

TEST(BitmapRefusal, HugeSizesAreOutOfMemoryBeforeAllocating) {
    // 16384 x 21845 x 3 bytes fit under the limit; the rows are not in the file.
    ASSERT_LE(uint64_t(16384) * 21845 * 3, BMP_MAX_OUTPUT_BYTES);
    const struct {
        int32_t iWidth, iHeight;
        const std::string& sMessage;
    } CASES[] = {{INT32_MAX, INT32_MAX, MSG_MEMORY}, {INT32_MAX, INT32_MIN, MSG_MEMORY}, {50000, 50000, MSG_MEMORY},
                 {1, INT32_MIN, MSG_MEMORY},         {65535, 65535, MSG_MEMORY},         {16384, 21846, MSG_MEMORY},
                 {16384, 21845, MSG_CONVERSION}};
    for (const auto& Case : CASES) {
        EXPECT_EQ(Outcome(Bmp(Case.iWidth, Case.iHeight, 24, {})), Case.sMessage)
            << Case.iWidth << " x " << Case.iHeight;
    }
}

TEST(BitmapRefusal, MissingRowsAreFoundWithoutAllocatingTheOutput) {
    // 16000 x 16000 would need 768 MB; the process may grow by 256 MB only,
    // so an allocation before the check would end in "Out of memory.". (The
    // sanitizer's allocator holds its address space from the start; there
    // only the message is checked.)
    const std::string sFile = BuildBmp(Bmp(16000, 16000, 8, std::vector<uint8_t>(1000, 1)));
    std::ifstream Statm("/proc/self/statm");
    uint64_t llPages = 0;
    Statm >> llPages;
    rlimit Old{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &Old), 0);
    rlimit Tight = Old;
    Tight.rlim_cur = llPages * static_cast<uint64_t>(sysconf(_SC_PAGESIZE)) + (uint64_t(256) << 20);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &Tight), 0);
    const std::string sOutcome = Decode(sFile).Outcome();
    setrlimit(RLIMIT_AS, &Old);
    EXPECT_EQ(sOutcome, MSG_CONVERSION);
}

}  // namespace
