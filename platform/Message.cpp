#include "platform/Message.h"

#include <cstdio>
#include <string>

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

MessageSink g_pMessageSink = WriteToStderr;

}  // namespace

void ShowErrorMessage(const char* szText) {
    g_pMessageSink(szText != nullptr ? szText : "");
}

MessageSink SetMessageSink(MessageSink pSink) {
    const MessageSink pPrevious = g_pMessageSink;
    g_pMessageSink = pSink != nullptr ? pSink : WriteToStderr;
    return pPrevious;
}
