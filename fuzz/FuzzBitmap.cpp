// Feeds arbitrary bytes to the BMP decoder. Besides what the sanitizers
// catch, it checks the decoder's promises: a refusal shows exactly one
// message, a success shows none and returns width x height pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "board/Bitmap.h"
#include "platform/Message.h"

namespace {

int g_iMessages = 0;

void CountMessage(const char*) {
    ++g_iMessages;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SetMessageSink(CountMessage);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t uSize) {
    g_iMessages = 0;
    ImageRGB* pImage = DecodeBitmapRGB(pData, uSize);
    if (pImage == nullptr) {
        if (g_iMessages != 1) {
            std::abort();
        }
        return 0;
    }
    if (g_iMessages != 0 || pImage->iSizeX < 1 || pImage->iSizeY < 1) {
        std::abort();
    }
    // The last output byte must be inside the allocation.
    const size_t uLast = static_cast<size_t>(pImage->iSizeX) * static_cast<size_t>(pImage->iSizeY) * 3 - 1;
    volatile unsigned char uTouch = pImage->pData[uLast];
    (void)uTouch;
    FreeImageRGB(pImage);
    return 0;
}
