// The BMP conformance corpus: every line of its manifest, run through the
// decoder as the game loads a texture file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "unit/BitmapWriter.h"

namespace {

const std::string SUITE_DIR = KOV_BMPSUITE_DIR;

// The largest channel difference from a binary PPM (P6, maxval 255, rows top
// to bottom); -1 without an image, or when the reference cannot be read or
// differs in size.
int DifferenceFromPpm(const ImageRGB* pImage, const std::string& sPath) {
    std::ifstream File(sPath, std::ios::binary);
    std::string sMagic;
    int iWidth = 0, iHeight = 0, iMax = 0;
    File >> sMagic >> iWidth >> iHeight >> iMax;
    File.get();  // the one whitespace byte before the pixels
    const size_t uRow = static_cast<size_t>(iWidth) * 3;
    std::string sPixels(uRow * static_cast<size_t>(iHeight), '\0');
    File.read(&sPixels[0], static_cast<std::streamsize>(sPixels.size()));
    if (!File || sMagic != "P6" || iMax != 255 || pImage == nullptr || iWidth != pImage->iSizeX ||
        iHeight != pImage->iSizeY) {
        return -1;
    }
    int iLargest = 0;
    for (size_t y = 0; y < static_cast<size_t>(iHeight); ++y) {
        for (size_t i = 0; i < uRow; ++i) {
            const int iExpected = static_cast<unsigned char>(sPixels[(iHeight - 1 - y) * uRow + i]);
            iLargest = std::max(iLargest, std::abs(pImage->pData[y * uRow + i] - iExpected));
        }
    }
    return iLargest;
}

// Lines: file, expectation ("decode", "refuse" or "any"), reference or message, tolerance.
TEST(BitmapSuite, EveryFileMeetsItsExpectation) {
    std::ifstream Manifest(SUITE_DIR + "/manifest.tsv");
    std::string sLine;
    int iCases = 0;
    while (std::getline(Manifest, sLine)) {
        if (sLine.empty() || sLine[0] == '#') {
            continue;
        }
        ++iCases;
        std::istringstream Fields(sLine);
        std::string sFile, sExpect, sDetail, sTolerance;
        std::getline(Fields, sFile, '\t');
        std::getline(Fields, sExpect, '\t');
        std::getline(Fields, sDetail, '\t');
        std::getline(Fields, sTolerance, '\t');
        SCOPED_TRACE(sLine);
        const SDecoded Result = Load((SUITE_DIR + "/" + sFile).c_str());
        if (sExpect == "decode") {
            EXPECT_EQ(Result.Outcome(), "decoded");
            const int iDifference = DifferenceFromPpm(Result.pImage.get(), SUITE_DIR + "/ref/" + sDetail + ".ppm");
            EXPECT_GE(iDifference, 0) << "not decoded, or no reference of the decoded size";
            EXPECT_LE(iDifference, std::atoi(sTolerance.c_str()));
        } else if (sExpect == "refuse") {
            EXPECT_EQ(Result.Outcome(), sDetail);
        } else {
            // Either way the decoder keeps its promise of one message per refusal.
            EXPECT_EQ(sExpect, "any");
            EXPECT_NE(Result.Outcome()[0], '(') << Result.Outcome();
            EXPECT_TRUE(Result.pImage == nullptr || (Result.pImage->iSizeX >= 1 && Result.pImage->iSizeY >= 1));
        }
    }
    EXPECT_GE(iCases, 90) << "cannot read " << SUITE_DIR << "/manifest.tsv";
}

}  // namespace
