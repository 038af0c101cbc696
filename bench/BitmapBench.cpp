// Decoding 1024 x 1024 BMPs, 24-bit and 8-bit palettised, with the game's
// reader and with stb_image on the same files in the same run.
#include <benchmark/benchmark.h>
#include <stb/stb_image.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "board/Bitmap.h"
#include "tools/TextureArt.h"

namespace {

// The images lie in a private directory, removed after the run.
std::string g_sRgb24Path;
std::string g_sPal8Path;
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

bool WriteFile(const std::string& sPath, const std::vector<unsigned char>& Bytes) {
    FILE* pFile = std::fopen(sPath.c_str(), "wb");
    if (pFile == nullptr) {
        return false;
    }
    const bool bOk = std::fwrite(Bytes.data(), 1, Bytes.size(), pFile) == Bytes.size();
    return std::fclose(pFile) == 0 && bOk;
}

void BM_LoadBitmapRGB(benchmark::State& State, const std::string* psPath) {
    for (auto _ : State) {
        ImageRGB* pImage = LoadBitmapRGB(psPath->c_str());
        if (pImage == nullptr) {
            State.SkipWithError("LoadBitmapRGB refused the file");
            break;
        }
        benchmark::DoNotOptimize(pImage->pData);
        FreeImageRGB(pImage);
    }
    State.SetItemsProcessed(State.iterations() * BENCH_SIDE * BENCH_SIDE);
}

void BM_StbiLoad(benchmark::State& State, const std::string* psPath) {
    for (auto _ : State) {
        int iWidth = 0;
        int iHeight = 0;
        int iChannels = 0;
        unsigned char* pPixels = stbi_load(psPath->c_str(), &iWidth, &iHeight, &iChannels, 3);
        if (pPixels == nullptr) {
            State.SkipWithError("stbi_load refused the file");
            break;
        }
        benchmark::DoNotOptimize(pPixels);
        stbi_image_free(pPixels);
    }
    State.SetItemsProcessed(State.iterations() * BENCH_SIDE * BENCH_SIDE);
}

BENCHMARK_CAPTURE(BM_LoadBitmapRGB, rgb24, &g_sRgb24Path)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StbiLoad, rgb24, &g_sRgb24Path)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadBitmapRGB, pal8, &g_sPal8Path)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StbiLoad, pal8, &g_sPal8Path)->Unit(benchmark::kMillisecond);

}  // namespace

// The run between writing the images and removing them with their directory.
int RunWithImages(int argc, char** argv) {
    if (!WriteFile(g_sRgb24Path, Rgb24File()) || !WriteFile(g_sPal8Path, Pal8File())) {
        std::fprintf(stderr, "cannot write the benchmark images\n");
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

int main(int argc, char** argv) {
    const char* szTmp = std::getenv("TMPDIR");
    std::string sDir = std::string(szTmp != nullptr && *szTmp != '\0' ? szTmp : "/tmp") + "/kov-bench.XXXXXX";
    if (mkdtemp(sDir.data()) == nullptr) {
        std::perror(sDir.c_str());
        return 1;
    }
    g_sRgb24Path = sDir + "/rgb24.bmp";
    g_sPal8Path = sDir + "/pal8.bmp";
    const int iStatus = RunWithImages(argc, argv);
    std::remove(g_sRgb24Path.c_str());
    std::remove(g_sPal8Path.c_str());
    rmdir(sDir.c_str());
    return iStatus;
}
