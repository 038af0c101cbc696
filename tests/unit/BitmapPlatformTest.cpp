// The file mapping and the error messages behind the BMP reader.
#include <gtest/gtest.h>

#include <string>

#include "platform/FileMap.h"
#include "platform/Message.h"
#include "support/TempFile.h"

namespace {

TEST(FileMap, MapsTheWholeFile) {
    std::string sContents(10000, '\0');
    for (size_t i = 0; i < sContents.size(); ++i) {
        sContents[i] = static_cast<char>(i * 7);
    }
    const CTempFile File(sContents);
    CFileMap Map;
    ASSERT_TRUE(Map.Open(File.Path()));
    ASSERT_EQ(Map.uSize, sContents.size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(Map.pData), Map.uSize), sContents);
    Map.Close();
    EXPECT_EQ(Map.pData, nullptr);
    EXPECT_EQ(Map.uSize, 0u);
}

TEST(FileMap, EmptyFileOpensAsNoBytes) {
    const CTempFile File("");
    CFileMap Map;
    EXPECT_TRUE(Map.Open(File.Path()));
    EXPECT_EQ(Map.pData, nullptr);
    EXPECT_EQ(Map.uSize, 0u);
}

TEST(FileMap, MissingFilesAndDirectoriesFail) {
    CFileMap Map;
    EXPECT_FALSE(Map.Open("no/such/file.bmp"));
    EXPECT_FALSE(Map.Open("tests"));
    EXPECT_EQ(Map.pData, nullptr);
    EXPECT_EQ(Map.uSize, 0u);
}

TEST(FileMap, ReopeningReplacesTheMapping) {
    const CTempFile First("first file");
    const CTempFile Second("second");
    CFileMap Map;
    ASSERT_TRUE(Map.Open(First.Path()));
    ASSERT_TRUE(Map.Open(Second.Path()));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(Map.pData), Map.uSize), "second");
    EXPECT_FALSE(Map.Open("no/such/file"));
    EXPECT_EQ(Map.pData, nullptr);
}

TEST(Message, StockSinkWritesOneCaptionedLine) {
    testing::internal::CaptureStderr();
    ShowErrorMessage("Out of memory.");
    ShowErrorMessage("Failed to open DIB file data/start.bmp.\n");
    ShowErrorMessage(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: Out of memory.\nError: Failed to open DIB file data/start.bmp.\nError: \n");
}

std::string g_sLast;

void RememberMessage(const char* szText) {
    g_sLast = szText;
}

TEST(Message, SinkCanBeReplacedAndRestored) {
    const MessageSink pStock = SetMessageSink(RememberMessage);
    ASSERT_NE(pStock, nullptr);
    testing::internal::CaptureStderr();
    ShowErrorMessage("Unknown DIB file format.");
    EXPECT_EQ(g_sLast, "Unknown DIB file format.");
    EXPECT_EQ(SetMessageSink(nullptr), RememberMessage);
    ShowErrorMessage("back on stderr");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: back on stderr\n");
    EXPECT_EQ(g_sLast, "Unknown DIB file format.");
    EXPECT_EQ(SetMessageSink(pStock), pStock);
}

}  // namespace
