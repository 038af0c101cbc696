#pragma once

#include <cstddef>

// A whole file mapped read-only into memory, released with the object. An
// empty file opens as zero bytes without a mapping, since mmap cannot map
// nothing.
class CFileMap {
public:
    CFileMap() = default;
    ~CFileMap() { Close(); }
    CFileMap(const CFileMap&) = delete;
    CFileMap& operator=(const CFileMap&) = delete;

    // False when the file cannot be opened, is not a regular file or cannot
    // be mapped; the object is then empty.
    bool Open(const char* szFileName);
    void Close();

    const unsigned char* pData = nullptr;
    size_t uSize = 0;
};
