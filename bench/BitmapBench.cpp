// Decoding 1024 x 1024 BMPs, 24-bit and 8-bit palettised, with the game's
// reader and with stb_image on the same files in the same run.
#include <benchmark/benchmark.h>
#include <stb/stb_image.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "board/Bitmap.h"

namespace {

// A BMP with the file header and the 40-byte information header.
struct SBmpLayout {
    int32_t iWidth = 1;
    int32_t iHeight = 1;
    uint16_t wBitCount = 24;
    std::vector<uint8_t> Table;   // colour-table bytes as stored
    std::vector<uint8_t> Pixels;  // pixel bytes as stored: rows bottom-up, each padded to 4 bytes
};

// Appends one colour-table entry: blue, green, red and a zero byte.
void AddColor(SBmpLayout* pLayout, uint8_t r, uint8_t g, uint8_t b) {
    pLayout->Table.insert(pLayout->Table.end(), {b, g, r, 0});
}

std::string BuildBmp(const SBmpLayout& Layout) {
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

const char* const RGB24_PATH = "/tmp/kov-bench-rgb24.bmp";
const char* const PAL8_PATH = "/tmp/kov-bench-pal8.bmp";
constexpr int BENCH_SIDE = 1024;

// A pattern with enough variety that no byte repeats in a row.
uint8_t PatternByte(int x, int y, int c) {
    return static_cast<uint8_t>(x * 7 + y * 13 + c * 101 + ((x ^ y) >> 3));
}

std::string Rgb24File() {
    SBmpLayout Layout;
    Layout.iWidth = BENCH_SIDE;
    Layout.iHeight = BENCH_SIDE;
    Layout.Pixels.reserve(static_cast<size_t>(BENCH_SIDE) * BENCH_SIDE * 3);
    for (int y = 0; y < BENCH_SIDE; ++y) {
        for (int x = 0; x < BENCH_SIDE; ++x) {
            for (int c = 0; c < 3; ++c) {
                Layout.Pixels.push_back(PatternByte(x, y, c));
            }
        }
    }
    return BuildBmp(Layout);
}

std::string Pal8File() {
    SBmpLayout Layout;
    Layout.iWidth = BENCH_SIDE;
    Layout.iHeight = BENCH_SIDE;
    Layout.wBitCount = 8;
    for (int i = 0; i < 256; ++i) {
        AddColor(&Layout, PatternByte(i, 0, 0), PatternByte(i, 0, 1), PatternByte(i, 0, 2));
    }
    Layout.Pixels.reserve(static_cast<size_t>(BENCH_SIDE) * BENCH_SIDE);
    for (int y = 0; y < BENCH_SIDE; ++y) {
        for (int x = 0; x < BENCH_SIDE; ++x) {
            Layout.Pixels.push_back(PatternByte(x, y, 0));
        }
    }
    return BuildBmp(Layout);
}

bool WriteFile(const char* szPath, const std::string& sBytes) {
    FILE* pFile = std::fopen(szPath, "wb");
    if (pFile == nullptr) {
        return false;
    }
    const bool bOk = std::fwrite(sBytes.data(), 1, sBytes.size(), pFile) == sBytes.size();
    return std::fclose(pFile) == 0 && bOk;
}

void BM_LoadBitmapRGB(benchmark::State& State, const char* szPath) {
    for (auto _ : State) {
        ImageRGB* pImage = LoadBitmapRGB(szPath);
        if (pImage == nullptr) {
            State.SkipWithError("LoadBitmapRGB refused the file");
            break;
        }
        benchmark::DoNotOptimize(pImage->pData);
        FreeImageRGB(pImage);
    }
    State.SetItemsProcessed(State.iterations() * BENCH_SIDE * BENCH_SIDE);
}

void BM_StbiLoad(benchmark::State& State, const char* szPath) {
    for (auto _ : State) {
        int iWidth = 0;
        int iHeight = 0;
        int iChannels = 0;
        unsigned char* pPixels = stbi_load(szPath, &iWidth, &iHeight, &iChannels, 3);
        if (pPixels == nullptr) {
            State.SkipWithError("stbi_load refused the file");
            break;
        }
        benchmark::DoNotOptimize(pPixels);
        stbi_image_free(pPixels);
    }
    State.SetItemsProcessed(State.iterations() * BENCH_SIDE * BENCH_SIDE);
}

BENCHMARK_CAPTURE(BM_LoadBitmapRGB, rgb24, RGB24_PATH)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StbiLoad, rgb24, RGB24_PATH)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadBitmapRGB, pal8, PAL8_PATH)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StbiLoad, pal8, PAL8_PATH)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!WriteFile(RGB24_PATH, Rgb24File()) || !WriteFile(PAL8_PATH, Pal8File())) {
        std::fprintf(stderr, "cannot write the benchmark images to /tmp\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
