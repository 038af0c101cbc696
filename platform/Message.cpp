#include "platform/Message.h"

#include <cstdio>
#include <string>

#include "platform/ErrorBox.h"

namespace {

void WriteToStderr(const char* szText) {
    std::string sLine = "Error: ";
    sLine += szText;
    // A text that already ends its line gets no second line break.
    if (sLine.back() != '\n') {
        sLine += '\n';
    }
    std::fwrite(sLine.data(), 1, sLine.size(), stderr);
    std::fflush(stderr);
}

void WriteAndShow(const char* szText) {
    WriteToStderr(szText);
    ShowErrorBox(szText);
}

MessageSink g_pMessageSink = WriteAndShow;

}  // namespace

void ShowErrorMessage(const char* szText) {
    g_pMessageSink(szText != nullptr ? szText : "");
}

MessageSink SetMessageSink(MessageSink pSink) {
    const MessageSink pPrevious = g_pMessageSink;
    g_pMessageSink = pSink != nullptr ? pSink : WriteAndShow;
    return pPrevious;
}
