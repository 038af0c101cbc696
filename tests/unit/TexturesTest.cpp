#include <gtest/gtest.h>

#include "support/TempFile.h"
#include "tools/TextureArt.h"

TEST(Textures, TheGeneratorReproducesTheShippedFilesByteForByte) {
    for (const char* szName : TEXTURE_ART_FILES) {
        const std::vector<unsigned char> Made = MakeTextureFile(szName);
        const std::string sShipped = ReadWholeFile(std::string(KOV_SOURCE_DIR "/data/") + szName);
        EXPECT_TRUE(std::string(Made.begin(), Made.end()) == sShipped) << szName << " differs from the generator's";
    }
}
