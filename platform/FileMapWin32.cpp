#include "platform/FileMap.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdint>

namespace {

// The errno of a system error, so that the readers' messages name the same
// reasons as on other systems.
int ErrnoOf(DWORD dwError) {
    switch (dwError) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    default:
        return EIO;
    }
}

// A handle of the regular file, or INVALID_HANDLE_VALUE with *piError set.
// A directory is told by its attributes, since opening one fails as if it
// were forbidden; a pipe or a device opens, and is refused by its type
// before anything waits on it.
HANDLE OpenRegular(const char* szFileName, int* piError) {
    const DWORD dwAttributes = GetFileAttributesA(szFileName);
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        *piError = FILE_NOT_REGULAR;
        return INVALID_HANDLE_VALUE;
    }
    HANDLE hFile = CreateFileA(szFileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        *piError = ErrnoOf(GetLastError());
    } else if (GetFileType(hFile) != FILE_TYPE_DISK) {
        *piError = FILE_NOT_REGULAR;
        CloseHandle(hFile);
        hFile = INVALID_HANDLE_VALUE;
    }
    return hFile;
}

}  // namespace

std::FILE* OpenRegularFile(const char* szFileName, int* piError) {
    HANDLE hFile = OpenRegular(szFileName, piError);
    if (hFile == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    // Binary: the level reader takes line ends as they stand.
    const int iFd = _open_osfhandle(reinterpret_cast<intptr_t>(hFile), _O_RDONLY | _O_BINARY);
    if (iFd < 0) {
        *piError = EIO;
        CloseHandle(hFile);
        return nullptr;
    }
    std::FILE* pFile = _fdopen(iFd, "rb");
    if (pFile == nullptr) {
        *piError = errno;
        _close(iFd);
    }
    return pFile;
}

bool CFileMap::Open(const char* szFileName) {
    Close();
    HANDLE hFile = OpenRegular(szFileName, &iError);
    if (hFile == INVALID_HANDLE_VALUE) {
        return false;
    }
    LARGE_INTEGER size;
    bool bOk = GetFileSizeEx(hFile, &size) && size.QuadPart > 0 && static_cast<uint64_t>(size.QuadPart) <= SIZE_MAX;
    if (bOk) {
        // The view outlives both handles.
        HANDLE hMapping = CreateFileMappingA(hFile, nullptr, PAGE_READONLY, 0, 0, nullptr);
        void* pView = hMapping != nullptr ? MapViewOfFile(hMapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
        bOk = pView != nullptr;
        if (bOk) {
            pData = static_cast<const unsigned char*>(pView);
            uSize = static_cast<size_t>(size.QuadPart);
        }
        if (hMapping != nullptr) {
            CloseHandle(hMapping);
        }
    }
    CloseHandle(hFile);
    return bOk;
}

void CFileMap::Close() {
    if (pData != nullptr) {
        UnmapViewOfFile(pData);
    }
    pData = nullptr;
    uSize = 0;
    iError = 0;
}
