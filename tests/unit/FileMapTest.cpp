#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/FileMap.h"
#include "support/TempFile.h"

// Every platform maps a regular file whole, past its first page and view
// granule, and refuses, without blocking, what it cannot map whole: each
// refusal leaves the map empty, also after a success. Of the null devices,
// each platform's own is a file that the other does not have.
TEST(FileMap, MapsARegularFileWholeAndRefusesWhatIsNone) {
    const std::string sBytes = std::string("BM\0\x01\r\n", 6) + std::string(1 << 17, 'x') + "end";
    const CTempFile File(sBytes), Empty("");
    CFileMap Map;
    for (const char* szRefused : {"no/such/file.bmp", Empty.Path(), KOV_SOURCE_DIR "/tests", "/dev/null", "NUL"}) {
        ASSERT_TRUE(Map.Open(File.Path()));
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(Map.pData), Map.uSize), sBytes);
        EXPECT_FALSE(Map.Open(szRefused)) << szRefused;
        EXPECT_TRUE(Map.pData == nullptr && Map.uSize == 0) << szRefused;
    }
    // Nothing of the file is left open: Windows deletes no file that is open or mapped.
    EXPECT_EQ(std::remove(File.Path()), 0);
}
