// The leak check at exit must survive a library's thread-local block that the
// heap placed 16 bytes past a page boundary. Exits 0 when it does; the leak
// checker ends the process with another status when it faults or finds a leak.
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern "C" void __lsan_do_leak_check();

namespace {

const size_t BLOCK_SIZE = 40;   // the library's thread-local block
const uintptr_t PAGE_SIZE = 4096;
const uintptr_t MISREAD_OFFSET = 16;

// Kept reachable, so that the check has nothing to report.
std::vector<void*> g_vFiller;

void* Allocate() {
    void* pBlock = std::malloc(BLOCK_SIZE);
    g_vFiller.push_back(pBlock);
    return pBlock;
}

// Fills the allocator's run of blocks of this size until the next one starts
// 16 bytes past a page boundary.
void PlaceNextBlockAtTheMisreadOffset() {
    g_vFiller.reserve(1024);
    uintptr_t uPrevious = reinterpret_cast<uintptr_t>(Allocate());
    uintptr_t uLast = reinterpret_cast<uintptr_t>(Allocate());
    const uintptr_t uStride = uLast - uPrevious;
    for (int i = 0; i < 1000 && (uLast + uStride) % PAGE_SIZE != MISREAD_OFFSET; ++i) {
        uLast = reinterpret_cast<uintptr_t>(Allocate());
    }
}

}  // namespace

int main() {
    void* pLibrary = dlopen(KOV_DYNAMIC_TLS_LIBRARY, RTLD_NOW);
    if (pLibrary == nullptr) {
        std::fprintf(stderr, "cannot load %s: %s\n", KOV_DYNAMIC_TLS_LIBRARY, dlerror());
        return 2;
    }
    auto pTouch = reinterpret_cast<char* (*)()>(dlsym(pLibrary, "TouchThreadLocal"));
    PlaceNextBlockAtTheMisreadOffset();
    const uintptr_t uBlock = reinterpret_cast<uintptr_t>(pTouch());
    if (uBlock % PAGE_SIZE != MISREAD_OFFSET) {
        std::fprintf(stderr, "the thread-local block landed at %#lx, not where the check misreads it\n",
                     static_cast<unsigned long>(uBlock));
        return 2;
    }
    __lsan_do_leak_check();
    std::puts("leak check passed");
    return 0;
}
