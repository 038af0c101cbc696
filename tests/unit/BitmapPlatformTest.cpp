// The file mapping and the error messages behind the BMP reader. Missing,
// empty and unreadable files are covered through LoadBitmapRGB's messages.
#include <gtest/gtest.h>

#include "platform/FileMap.h"
#include "platform/Message.h"
#include "support/TempFile.h"

TEST(FileMap, ReopeningReplacesTheMappingAndAFailureEmptiesIt) {
    const CTempFile First("first file"), Second("second");
    CFileMap Map;
    ASSERT_TRUE(Map.Open(First.Path()));
    ASSERT_TRUE(Map.Open(Second.Path()));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(Map.pData), Map.uSize), "second");
    Map.Close();
    EXPECT_TRUE(Map.pData == nullptr && Map.uSize == 0);
    for (const char* szPath : {"no/such/file.bmp", "tests"}) {
        ASSERT_TRUE(Map.Open(Second.Path()));
        EXPECT_FALSE(Map.Open(szPath)) << szPath;
        EXPECT_TRUE(Map.pData == nullptr && Map.uSize == 0) << szPath;
    }
}

namespace {

std::string g_sLast;

}  // namespace

TEST(Message, StockSinkWritesOneCaptionedLineAndCanBeReplaced) {
    testing::internal::CaptureStderr();
    ShowErrorMessage("Out of memory.");
    ShowErrorMessage("Failed to open DIB file data/start.bmp.\n");
    ShowErrorMessage(nullptr);
    const MessageSink pRemember = [](const char* szText) { g_sLast = szText; };
    const MessageSink pStock = SetMessageSink(pRemember);
    ShowErrorMessage("Unknown DIB file format.");
    EXPECT_EQ(g_sLast, "Unknown DIB file format.");
    EXPECT_EQ(SetMessageSink(nullptr), pRemember);
    ShowErrorMessage("back on stderr");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: Out of memory.\nError: Failed to open DIB file data/start.bmp.\nError: \n"
              "Error: back on stderr\n");
    EXPECT_EQ(g_sLast, "Unknown DIB file format.");
    EXPECT_EQ(SetMessageSink(pStock), pStock);
}
