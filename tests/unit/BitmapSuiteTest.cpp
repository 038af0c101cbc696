// The BMP conformance corpus: every line of its manifest, run through the
// decoder as the game loads a texture file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "unit/BitmapWriter.h"

namespace {

const std::string SUITE_DIR = KOV_BMPSUITE_DIR;

struct SSuiteCase {
    std::string sFile;    // relative to the suite directory
    std::string sExpect;  // "decode", "refuse" or "any"
    std::string sDetail;  // reference name or message
    int iTolerance;
};

std::vector<SSuiteCase> ReadManifest() {
    std::vector<SSuiteCase> Cases;
    std::ifstream Manifest(SUITE_DIR + "/manifest.tsv");
    std::string sLine;
    while (std::getline(Manifest, sLine)) {
        if (sLine.empty() || sLine[0] == '#') {
            continue;
        }
        std::istringstream Fields(sLine);
        SSuiteCase Case;
        std::string sTolerance;
        std::getline(Fields, Case.sFile, '\t');
        std::getline(Fields, Case.sExpect, '\t');
        std::getline(Fields, Case.sDetail, '\t');
        std::getline(Fields, sTolerance, '\t');
        Case.iTolerance = sTolerance == "-" ? 0 : std::atoi(sTolerance.c_str());
        Cases.push_back(Case);
    }
    return Cases;
}

// A binary PPM (P6, maxval 255); rows top to bottom.
struct SPpm {
    int iWidth = 0;
    int iHeight = 0;
    std::string sPixels;
};

bool ReadPpm(const std::string& sPath, SPpm* pPpm) {
    std::ifstream File(sPath, std::ios::binary);
    std::string sMagic;
    int iMax = 0;
    File >> sMagic >> pPpm->iWidth >> pPpm->iHeight >> iMax;
    File.get();  // the one whitespace byte before the pixels
    if (!File || sMagic != "P6" || iMax != 255) {
        return false;
    }
    pPpm->sPixels.resize(static_cast<size_t>(pPpm->iWidth) * pPpm->iHeight * 3);
    File.read(&pPpm->sPixels[0], static_cast<std::streamsize>(pPpm->sPixels.size()));
    return static_cast<size_t>(File.gcount()) == pPpm->sPixels.size();
}

// The largest channel difference between the decoded image and the reference.
int LargestDifference(const ImageRGB& Image, const SPpm& Reference) {
    int iLargest = 0;
    for (int y = 0; y < Image.iSizeY; ++y) {
        const int iReferenceRow = Reference.iHeight - 1 - y;
        for (int i = 0; i < Image.iSizeX * 3; ++i) {
            const int iDecoded = Image.pData[(static_cast<size_t>(y) * Image.iSizeX) * 3 + i];
            const int iExpected =
                static_cast<unsigned char>(Reference.sPixels[(static_cast<size_t>(iReferenceRow) * Reference.iWidth) * 3 + i]);
            iLargest = std::max(iLargest, std::abs(iDecoded - iExpected));
        }
    }
    return iLargest;
}

class BitmapSuite : public testing::TestWithParam<SSuiteCase> {};

TEST_P(BitmapSuite, FileMeetsItsExpectation) {
    const SSuiteCase& Case = GetParam();
    CMessageCapture Capture;
    const ImagePtr pImage(LoadBitmapRGB((SUITE_DIR + "/" + Case.sFile).c_str()), FreeImageRGB);
    const std::vector<std::string>& Messages = Capture.Messages();

    if (Case.sExpect == "refuse") {
        EXPECT_EQ(pImage, nullptr);
        EXPECT_EQ(Messages, std::vector<std::string>{Case.sDetail});
    } else if (Case.sExpect == "decode") {
        ASSERT_NE(pImage, nullptr) << (Messages.empty() ? "" : Messages[0]);
        EXPECT_TRUE(Messages.empty());
        SPpm Reference;
        ASSERT_TRUE(ReadPpm(SUITE_DIR + "/ref/" + Case.sDetail + ".ppm", &Reference)) << Case.sDetail;
        ASSERT_EQ(pImage->iSizeX, Reference.iWidth);
        ASSERT_EQ(pImage->iSizeY, Reference.iHeight);
        EXPECT_LE(LargestDifference(*pImage, Reference), Case.iTolerance);
    } else {
        ASSERT_EQ(Case.sExpect, "any");
        // Either way the decoder keeps its promise of one message per refusal.
        if (pImage == nullptr) {
            EXPECT_EQ(Messages.size(), 1u);
        } else {
            EXPECT_TRUE(Messages.empty());
            EXPECT_GE(pImage->iSizeX, 1);
            EXPECT_GE(pImage->iSizeY, 1);
        }
    }
}

// Without a readable manifest there is one case, which fails.
std::vector<SSuiteCase> SuiteCases() {
    std::vector<SSuiteCase> Cases = ReadManifest();
    if (Cases.empty()) {
        Cases.push_back({"manifest.tsv", "missing", "", 0});
    }
    return Cases;
}

std::string CaseName(const testing::TestParamInfo<SSuiteCase>& Info) {
    std::string sName = Info.param.sFile;
    for (char& c : sName) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return sName;
}

INSTANTIATE_TEST_SUITE_P(Manifest, BitmapSuite, testing::ValuesIn(SuiteCases()), CaseName);

TEST(BitmapSuiteManifest, ListsEveryKindOfFile) {
    const std::vector<SSuiteCase> Cases = ReadManifest();
    ASSERT_GE(Cases.size(), 90u) << "cannot read " << SUITE_DIR << "/manifest.tsv";
    int iCounts[3] = {0, 0, 0};
    for (const SSuiteCase& Case : Cases) {
        iCounts[0] += Case.sExpect == "decode";
        iCounts[1] += Case.sExpect == "refuse";
        iCounts[2] += Case.sExpect == "any";
    }
    EXPECT_GT(iCounts[0], 0);
    EXPECT_GT(iCounts[1], 0);
    EXPECT_GT(iCounts[2], 0);
    EXPECT_EQ(iCounts[0] + iCounts[1] + iCounts[2], static_cast<int>(Cases.size()));
}

}  // namespace
