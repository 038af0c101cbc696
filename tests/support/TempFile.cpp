#include "support/TempFile.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

CTempFile::CTempFile(const std::string& sContents, const char* szSuffix) : sPath("/tmp/kov-test-XXXXXX") {
    sPath += szSuffix;
    close(mkstemps(&sPath[0], static_cast<int>(std::string(szSuffix).size())));
    std::ofstream(sPath, std::ios::binary) << sContents;
}

CTempFile::~CTempFile() {
    std::remove(sPath.c_str());
}

std::string ReadWholeFile(const std::string& sPath) {
    std::ostringstream Contents;
    Contents << std::ifstream(sPath, std::ios::binary).rdbuf();
    return Contents.str();
}
