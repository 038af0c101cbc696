#pragma once

#include <cstddef>

// A whole file mapped read-only into memory, released with the object.
class CFileMap {
public:
    CFileMap() = default;
    ~CFileMap() { Close(); }
    CFileMap(const CFileMap&) = delete;
    CFileMap& operator=(const CFileMap&) = delete;

    // False when the file cannot be opened, is not a regular file or cannot
    // be mapped, which an empty file cannot be; the object is then empty.
    bool Open(const char* szFileName);
    void Close();

    const unsigned char* pData = nullptr;
    size_t uSize = 0;
};
