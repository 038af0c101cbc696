#include "support/TempFile.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

CTempFile::CTempFile(const std::string& sContents, const char* szSuffix) {
    const char* szDir = std::getenv("TMPDIR");
    std::string sTemplate = std::string(szDir != nullptr ? szDir : "/tmp") + "/kov-test-XXXXXX" + szSuffix;
    std::vector<char> Name(sTemplate.begin(), sTemplate.end());
    Name.push_back('\0');
    const int iFd = mkstemps(Name.data(), static_cast<int>(std::string(szSuffix).size()));
    if (iFd < 0) {
        throw std::runtime_error("cannot create a temporary file");
    }
    sPath = Name.data();
    size_t uWritten = 0;
    while (uWritten < sContents.size()) {
        const ssize_t iResult = write(iFd, sContents.data() + uWritten, sContents.size() - uWritten);
        if (iResult <= 0) {
            close(iFd);
            throw std::runtime_error("cannot write a temporary file");
        }
        uWritten += static_cast<size_t>(iResult);
    }
    close(iFd);
}

CTempFile::~CTempFile() {
    std::remove(sPath.c_str());
}

std::string ReadWholeFile(const std::string& sPath) {
    std::ifstream file(sPath, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}
