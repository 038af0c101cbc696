#include "board/Texture.h"

#include <GL/glu.h>

#include "app/Globals.h"
#include "board/Bitmap.h"

namespace {

void SetFilters(GLint iMagFilter, GLint iMinFilter) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, iMagFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, iMinFilter);
}

void UploadImage(const ImageRGB& Image, int iMode) {
    // The decoded rows are tightly packed; at the default alignment of 4 a
    // width whose row is not a multiple of 4 bytes would be read skewed.
    GLint iAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &iAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (iMode == TEX_MODE_MIPMAP) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, Image.iSizeX, Image.iSizeY, GL_RGB, GL_UNSIGNED_BYTE, Image.pData);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, 3, Image.iSizeX, Image.iSizeY, 0, GL_RGB, GL_UNSIGNED_BYTE, Image.pData);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, iAlignment);
}

}  // namespace

void LoadTexture(int iSlot, const char* szFileName, int iMode) {
    // A slot outside the table would be written past g_Textures.
    if (iSlot < 0 || iSlot >= TEX_COUNT) {
        return;
    }
    ImageRGB* pTextureImage = LoadBitmapRGB(szFileName);
    if (pTextureImage == nullptr) {
        return;
    }
    glGenTextures(1, &g_Textures[iSlot]);
    glBindTexture(GL_TEXTURE_2D, g_Textures[iSlot]);
    switch (iMode) {
    case TEX_MODE_MIPMAP:
        SetFilters(GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST);
        UploadImage(*pTextureImage, iMode);
        break;
    case TEX_MODE_LINEAR:
        SetFilters(GL_LINEAR, GL_LINEAR);
        UploadImage(*pTextureImage, iMode);
        break;
    case TEX_MODE_NEAREST:
        SetFilters(GL_NEAREST, GL_NEAREST);
        UploadImage(*pTextureImage, iMode);
        break;
    default:
        // An unknown mode leaves the texture bound without parameters or image.
        break;
    }
    FreeImageRGB(pTextureImage);
}
