#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/FileMap.h"
#include "support/TempFile.h"

// Every platform maps a regular file whole and refuses, without blocking, what
// it cannot map whole: each refusal leaves the map empty, also after a success.
TEST(FileMap, MapsARegularFileWholeAndRefusesWhatIsNone) {
    // Past the first page and the first 64 KiB of a view.
    const std::string sBytes = std::string("BM\0\x01\r\n", 6) + std::string(1 << 17, 'x') + "end";
    const CTempFile File(sBytes);
    const CTempFile Empty("");
    CFileMap Map;
    // Each platform's null device; on the other it is a file that does not exist.
    for (const char* szRefused : {"no/such/file.bmp", Empty.Path(), KOV_SOURCE_DIR "/tests", "/dev/null", "NUL"}) {
        ASSERT_TRUE(Map.Open(File.Path()));
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(Map.pData), Map.uSize), sBytes);
        EXPECT_FALSE(Map.Open(szRefused)) << szRefused;
        EXPECT_TRUE(Map.pData == nullptr && Map.uSize == 0) << szRefused;
    }
    // Nothing of the file is left open: Windows deletes no file that is open or mapped.
    EXPECT_EQ(std::remove(File.Path()), 0);
}
