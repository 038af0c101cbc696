// Decoding 1024 x 1024 BMPs, 24-bit and 8-bit palettised, with the game's
// reader and with stb_image on the same files in the same run.
#include <benchmark/benchmark.h>
#include <stb/stb_image.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "board/Bitmap.h"
#include "tools/TextureArt.h"

namespace {

const char* const RGB24_PATH = "/tmp/kov-bench-rgb24.bmp";
const char* const PAL8_PATH = "/tmp/kov-bench-pal8.bmp";
constexpr int BENCH_SIDE = 1024;

// A pattern with enough variety that no byte repeats in a row.
uint8_t PatternByte(int x, int y, int c) {
    return static_cast<uint8_t>(x * 7 + y * 13 + c * 101 + ((x ^ y) >> 3));
}

std::vector<unsigned char> Rgb24File() {
    std::vector<unsigned char> Rgb;
    Rgb.reserve(static_cast<size_t>(BENCH_SIDE) * BENCH_SIDE * 3);
    for (int y = 0; y < BENCH_SIDE; ++y) {
        for (int x = 0; x < BENCH_SIDE; ++x) {
            for (int c = 0; c < 3; ++c) {
                Rgb.push_back(PatternByte(x, y, c));
            }
        }
    }
    return EncodeBmp24(BENCH_SIDE, BENCH_SIDE, Rgb.data());
}

std::vector<unsigned char> Pal8File() {
    std::vector<unsigned char> Table;
    for (int i = 0; i < 256; ++i) {
        Table.insert(Table.end(), {PatternByte(i, 0, 0), PatternByte(i, 0, 1), PatternByte(i, 0, 2)});
    }
    std::vector<unsigned char> Indices;
    Indices.reserve(static_cast<size_t>(BENCH_SIDE) * BENCH_SIDE);
    for (int y = 0; y < BENCH_SIDE; ++y) {
        for (int x = 0; x < BENCH_SIDE; ++x) {
            Indices.push_back(PatternByte(x, y, 0));
        }
    }
    return EncodeBmp8(BENCH_SIDE, BENCH_SIDE, Indices.data(), Table);
}

bool WriteFile(const char* szPath, const std::vector<unsigned char>& Bytes) {
    FILE* pFile = std::fopen(szPath, "wb");
    if (pFile == nullptr) {
        return false;
    }
    const bool bOk = std::fwrite(Bytes.data(), 1, Bytes.size(), pFile) == Bytes.size();
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
