#include "platform/FileMap.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

bool CFileMap::Open(const char* szFileName) {
    Close();
    const int iFd = open(szFileName, O_RDONLY | O_CLOEXEC);
    if (iFd < 0) {
        return false;
    }
    struct stat st{};
    bool bOk = fstat(iFd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
    if (bOk) {
        const size_t uLength = static_cast<size_t>(st.st_size);
        void* pMapped = mmap(nullptr, uLength, PROT_READ, MAP_PRIVATE, iFd, 0);
        bOk = pMapped != MAP_FAILED;
        if (bOk) {
            pData = static_cast<const unsigned char*>(pMapped);
            uSize = uLength;
        }
    }
    // The mapping outlives the descriptor.
    close(iFd);
    return bOk;
}

void CFileMap::Close() {
    if (pData != nullptr) {
        munmap(const_cast<unsigned char*>(pData), uSize);
    }
    pData = nullptr;
    uSize = 0;
}
