#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>

// An error code beside errno's: the name is a FIFO, a directory or a device,
// which a reader may wait on for ever or read without end.
constexpr int FILE_NOT_REGULAR = -1;

// The reason for an error code of errno's or FILE_NOT_REGULAR, to follow the
// file's name and a colon.
inline const char* DescribeFileError(int iError) {
    return iError == FILE_NOT_REGULAR ? "it is not a regular file" : std::strerror(iError);
}

// Opens a regular file for reading without ever waiting on the name: null,
// with *piError set, for anything else or when it cannot be opened.
std::FILE* OpenRegularFile(const char* szFileName, int* piError);

// A whole file mapped read-only into memory, released with the object.
class CFileMap {
public:
    CFileMap() = default;
    ~CFileMap() { Close(); }
    CFileMap(const CFileMap&) = delete;
    CFileMap& operator=(const CFileMap&) = delete;

    // False when the file cannot be opened, is not a regular file (iError is
    // then FILE_NOT_REGULAR) or cannot be mapped, which an empty file cannot
    // be; the object is then empty.
    bool Open(const char* szFileName);
    void Close();

    const unsigned char* pData = nullptr;
    size_t uSize = 0;
    int iError = 0;
};
