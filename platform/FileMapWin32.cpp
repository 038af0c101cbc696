#include "platform/FileMap.h"

#include <windows.h>

#include <cstdint>

bool CFileMap::Open(const char* szFileName) {
    Close();
    // Opening a directory needs FILE_FLAG_BACKUP_SEMANTICS, so it fails here;
    // a pipe or a device opens, and is refused by its type before any read.
    HANDLE hFile = CreateFileA(szFileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        return false;
    }
    LARGE_INTEGER size;
    bool bOk = GetFileType(hFile) == FILE_TYPE_DISK && GetFileSizeEx(hFile, &size) && size.QuadPart > 0 &&
               static_cast<uint64_t>(size.QuadPart) <= SIZE_MAX;
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
}
