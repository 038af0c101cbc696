#pragma once

// A decoded image: iSizeX x iSizeY pixels of red, green, blue, rows tightly
// packed, bottom row first. The record and pData come from malloc.
struct ImageRGB {
    int iSizeX;
    int iSizeY;
    unsigned char* pData;
};

// Decodes a BMP file with a 12- or 40-byte information header. Returns null
// after showing exactly one error message.
ImageRGB* LoadBitmapRGB(const char* szFileName);

// Frees the record and its pixels; null is allowed.
void FreeImageRGB(ImageRGB* pImage);
