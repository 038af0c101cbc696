#include <stb/stb_image_write.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

#include "tools/TextureArt.h"

namespace {

using CBytes = std::vector<unsigned char>;

// The sizes of a Windows icon file: the small and large icons of the shell,
// and its largest view.
constexpr int ICO_SIZES[] = {16, 32, 48, 256};
constexpr size_t ICO_HEADER_SIZE = 6;
constexpr size_t ICO_ENTRY_SIZE = 16;

void AppendPng(void* pContext, void* pData, int iSize) {
    auto* pBytes = static_cast<CBytes*>(pContext);
    const auto* p = static_cast<const unsigned char*>(pData);
    pBytes->insert(pBytes->end(), p, p + iSize);
}

CBytes EncodePng(int iSize) {
    const CBytes Rgba = MakeIconRgba(iSize);
    CBytes Png;
    stbi_write_png_to_func(AppendPng, &Png, iSize, iSize, 4, Rgba.data(), iSize * 4);
    return Png;
}

void PutLittleEndian(CBytes* pBytes, uint32_t dwValue, int iBytes) {
    for (int i = 0; i < iBytes; ++i) {
        pBytes->push_back(static_cast<unsigned char>(dwValue >> (8 * i)));
    }
}

// An icon file whose pictures are PNG images, as Windows takes them since Vista.
CBytes EncodeIco() {
    CBytes Header;
    CBytes Images;
    PutLittleEndian(&Header, 0, 2);  // reserved
    PutLittleEndian(&Header, 1, 2);  // an icon, not a cursor
    PutLittleEndian(&Header, static_cast<uint32_t>(std::size(ICO_SIZES)), 2);
    const size_t uFirstImage = ICO_HEADER_SIZE + ICO_ENTRY_SIZE * std::size(ICO_SIZES);
    for (const int iSize : ICO_SIZES) {
        const CBytes Png = EncodePng(iSize);
        Header.push_back(static_cast<unsigned char>(iSize % 256));  // 0 stands for 256
        Header.push_back(static_cast<unsigned char>(iSize % 256));
        PutLittleEndian(&Header, 0, 2);   // no palette, reserved
        PutLittleEndian(&Header, 1, 2);   // planes
        PutLittleEndian(&Header, 32, 2);  // bits a pixel
        PutLittleEndian(&Header, static_cast<uint32_t>(Png.size()), 4);
        PutLittleEndian(&Header, static_cast<uint32_t>(uFirstImage + Images.size()), 4);
        Images.insert(Images.end(), Png.begin(), Png.end());
    }
    Header.insert(Header.end(), Images.begin(), Images.end());
    return Header;
}

bool WriteFile(const char* szPath, const CBytes& Bytes) {
    std::FILE* pFile = std::fopen(szPath, "wb");
    if (pFile == nullptr) {
        return false;
    }
    const bool bWritten = std::fwrite(Bytes.data(), 1, Bytes.size(), pFile) == Bytes.size();
    return std::fclose(pFile) == 0 && bWritten;
}

}  // namespace

// Writes the game's icon at one size as a PNG file, or at the sizes Windows
// uses as an icon file.
int main(int argc, char** argv) {
    const size_t uLength = argc == 2 ? std::strlen(argv[1]) : 0;
    const bool bIco = uLength > 4 && std::strcmp(argv[1] + uLength - 4, ".ico") == 0;
    const int iSize = argc == 3 ? std::atoi(argv[1]) : 0;
    if (!bIco && iSize < 1) {
        std::fprintf(stderr, "usage: make-icon SIZE FILE.png | make-icon FILE.ico\n");
        return 2;
    }
    const char* szPath = argv[argc - 1];
    if (!WriteFile(szPath, bIco ? EncodeIco() : EncodePng(iSize))) {
        std::fprintf(stderr, "make-icon: cannot write %s\n", szPath);
        return 1;
    }
    return 0;
}
