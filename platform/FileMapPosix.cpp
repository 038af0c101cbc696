#include "platform/FileMap.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// A descriptor of the regular file, or -1 with *piError set. Opening a FIFO
// would wait for a writer, so nothing waits; a regular file reads as usual.
int OpenRegular(const char* szFileName, struct stat* pStat, int* piError) {
    const int iFd = open(szFileName, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (iFd < 0) {
        *piError = errno;
        return -1;
    }
    if (fstat(iFd, pStat) != 0) {
        *piError = errno;
    } else if (!S_ISREG(pStat->st_mode)) {
        *piError = FILE_NOT_REGULAR;
    } else {
        return iFd;
    }
    close(iFd);
    return -1;
}

}  // namespace

std::FILE* OpenRegularFile(const char* szFileName, int* piError) {
    struct stat st{};
    const int iFd = OpenRegular(szFileName, &st, piError);
    if (iFd < 0) {
        return nullptr;
    }
    std::FILE* pFile = fdopen(iFd, "rb");
    if (pFile == nullptr) {
        *piError = errno;
        close(iFd);
    }
    return pFile;
}

bool CFileMap::Open(const char* szFileName) {
    Close();
    struct stat st{};
    const int iFd = OpenRegular(szFileName, &st, &iError);
    if (iFd < 0) {
        return false;
    }
    bool bOk = st.st_size > 0;
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
    iError = 0;
}
