// The BMP reader over the conformance corpus and over hand-made files for the
// edges the corpus does not reach, each listed in a manifest with its expectation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "board/Bitmap.h"
#include "platform/Message.h"
#include "support/TempFile.h"

namespace {

// A decoded image, or none, and the messages the decoder showed meanwhile.
struct SDecoded {
    std::unique_ptr<ImageRGB, void (*)(ImageRGB*)> pImage{nullptr, FreeImageRGB};
    std::vector<std::string> Messages;
};

// Decodes the bytes from a buffer of exactly their size, where the sanitizer
// sees any read past the end; or, when one is named, the file.
SDecoded Decode(const std::string& sBytes, const char* szFile = nullptr) {
    static std::vector<std::string>* s_pMessages;
    const std::vector<unsigned char> Bytes(sBytes.begin(), sBytes.end());
    SDecoded Result;
    s_pMessages = &Result.Messages;
    const MessageSink pPrevious = SetMessageSink([](const char* szText) { s_pMessages->push_back(szText); });
    Result.pImage.reset(szFile != nullptr ? LoadBitmapRGB(szFile) : DecodeBitmapRGB(Bytes.data(), Bytes.size()));
    SetMessageSink(pPrevious);
    return Result;
}

using SStrings = std::vector<std::string>;

// The largest byte difference between the image written as a binary PPM,
// rows top to bottom, and the reference file; -1 when their sizes differ.
int DifferenceFromPpm(const ImageRGB& Image, const std::string& sPath) {
    const size_t uRow = static_cast<size_t>(Image.iSizeX) * 3;
    std::string sImage = "P6\n" + std::to_string(Image.iSizeX) + " " + std::to_string(Image.iSizeY) + "\n255\n";
    for (size_t y = static_cast<size_t>(Image.iSizeY); y-- > 0;) {
        sImage.append(reinterpret_cast<const char*>(Image.pData) + y * uRow, uRow);
    }
    const std::string sReference = ReadWholeFile(sPath);
    int iLargest = sImage.size() == sReference.size() ? 0 : -1;
    for (size_t i = 0; iLargest >= 0 && i < sImage.size(); ++i) {
        iLargest = std::max(iLargest, std::abs(static_cast<uint8_t>(sImage[i]) - static_cast<uint8_t>(sReference[i])));
    }
    return iLargest;
}

}  // namespace

// Lines: file, expectation ("decode", "refuse" or "any"), reference or message, tolerance.
TEST(Bitmap, EveryFileMeetsItsExpectation) {
    for (const char* szDir : {"/tests/data/bmpsuite/", "/tests/data/bmp/"}) {
        const std::string sDir = KOV_SOURCE_DIR + std::string(szDir);
        std::istringstream Manifest(ReadWholeFile(sDir + "manifest.tsv"));
        int iCases = 0;
        for (std::string sLine; std::getline(Manifest, sLine);) {
            std::istringstream Fields(sLine);
            std::string sFile, sExpect, sDetail, sTolerance;
            std::getline(std::getline(std::getline(std::getline(Fields, sFile, '\t'), sExpect, '\t'), sDetail, '\t'),
                         sTolerance, '\t');
            if (sFile.empty() || sFile[0] == '#') {
                continue;
            }
            ++iCases;
            SCOPED_TRACE(szDir + sLine);
            const SDecoded Result = Decode(ReadWholeFile(sDir + sFile));
            if (sExpect == "decode") {
                EXPECT_EQ(Result.Messages, SStrings{});
                const std::string sReference = sDir + "ref/" + sDetail + ".ppm";
                const int iDifference = Result.pImage ? DifferenceFromPpm(*Result.pImage, sReference) : -1;
                EXPECT_GE(iDifference, 0) << "no image, or a reference missing or of another size";
                EXPECT_LE(iDifference, std::atoi(sTolerance.c_str()));
            } else if (sExpect == "refuse") {
                EXPECT_EQ(Result.Messages, SStrings{sDetail});
                EXPECT_TRUE(Result.pImage == nullptr);
            } else {  // an image, or one message
                EXPECT_EQ(sExpect, "any");
                EXPECT_EQ(Result.Messages.size() + (Result.pImage != nullptr), 1u);
            }
        }
        EXPECT_GE(iCases, 70) << "cannot read " << sDir << "manifest.tsv";
    }
    for (const std::string sFile : {"no/such/start.bmp", KOV_SOURCE_DIR "/tests/data/bmp/empty.bmp"}) {  // nor mapped
        EXPECT_EQ(Decode("", sFile.c_str()).Messages, SStrings{"Failed to open DIB file " + sFile + ".\n"});
    }
}
