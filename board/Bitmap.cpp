#include "board/Bitmap.h"

#include <cstdlib>

// PLACEHOLDER: the BMP decoder is being written.
ImageRGB* LoadBitmapRGB(const char*) {
    return nullptr;
}

void FreeImageRGB(ImageRGB* pImage) {
    if (pImage != nullptr) {
        std::free(pImage->pData);
        std::free(pImage);
    }
}
