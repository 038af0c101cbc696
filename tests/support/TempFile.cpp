#include "support/TempFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

CTempFile::CTempFile(const std::string& sContents, const char* szSuffix) {
    // A random name, drawn again while a file has it.
    std::random_device random;
    const std::filesystem::path Directory = std::filesystem::temp_directory_path();
    do {
        sPath = (Directory / ("kov-test-" + std::to_string(random()) + szSuffix)).string();
    } while (std::filesystem::exists(sPath));
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
