#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/TextureArt.h"

// Writes the game's six texture pictures into the given directory.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-textures DIRECTORY\n");
        return 2;
    }
    for (const char* szName : TEXTURE_ART_FILES) {
        const std::string sPath = std::string(argv[1]) + "/" + szName;
        const std::vector<unsigned char> Bytes = MakeTextureFile(szName);
        std::FILE* pFile = std::fopen(sPath.c_str(), "wb");
        const bool bWritten = pFile != nullptr && std::fwrite(Bytes.data(), 1, Bytes.size(), pFile) == Bytes.size();
        const int iError = errno;
        const bool bClosed = pFile != nullptr && std::fclose(pFile) == 0;
        if (!bWritten || !bClosed) {
            std::fprintf(stderr, "make-textures: cannot write %s: %s\n", sPath.c_str(), std::strerror(iError));
            return 1;
        }
    }
    return 0;
}
