#include <stb/stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tools/TextureArt.h"

// Writes the game's icon at one size as a PNG file.
int main(int argc, char** argv) {
    const int iSize = argc == 3 ? std::atoi(argv[1]) : 0;
    if (iSize < 1) {
        std::fprintf(stderr, "usage: make-icon SIZE FILE.png\n");
        return 2;
    }
    const std::vector<unsigned char> Rgba = MakeIconRgba(iSize);
    if (stbi_write_png(argv[2], iSize, iSize, 4, Rgba.data(), iSize * 4) == 0) {
        std::fprintf(stderr, "make-icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
