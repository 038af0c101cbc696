#pragma once

#include <string>

// A file in the temporary directory with the given bytes, removed again when
// the object goes out of scope.
class CTempFile {
public:
    explicit CTempFile(const std::string& sContents, const char* szSuffix = ".tmp");
    ~CTempFile();

    const char* Path() const { return sPath.c_str(); }

    std::string sPath;
};

// The whole file as bytes; an empty string when it cannot be read.
std::string ReadWholeFile(const std::string& sPath);
