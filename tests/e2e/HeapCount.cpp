// Linked into the soak's build of the game: counts the heap blocks that the
// game's own code allocated and has not freed, which the GL driver's growing
// caches do not touch. Blocks whose caller lies in the executable's text go
// into a set, so that every free can be matched. SIGUSR1 asks for the count;
// it goes to stderr at the next buffer swap, where a frame holds no blocks.
#include <GL/glut.h>
#include <dlfcn.h>

#include <atomic>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <new>

extern "C" {
void* __libc_malloc(size_t uSize);
void* __libc_calloc(size_t uCount, size_t uSize);
void* __libc_realloc(void* p, size_t uSize);
void __libc_free(void* p);
extern const char __executable_start[], etext[];  // the executable's text, from the linker
}

namespace {

constexpr int TABLE_BITS = 18;
constexpr size_t TABLE_MASK = (size_t(1) << TABLE_BITS) - 1;

void* s_pBlocks[TABLE_MASK + 1];  // open addressing with linear probing
std::atomic<size_t> s_uLive{0};
std::mutex s_Mutex;  // the GL driver's threads allocate too
volatile std::sig_atomic_t s_iAsked = 0;

size_t HomeSlot(const void* p) {
    return (reinterpret_cast<uintptr_t>(p) >> 4) * 0x9E3779B97F4A7C15ull >> (64 - TABLE_BITS);
}

void* Track(void* p, const void* pCaller) {
    if (p == nullptr || pCaller < __executable_start || pCaller >= etext) {
        return p;
    }
    std::lock_guard<std::mutex> lock(s_Mutex);
    if (s_uLive == TABLE_MASK) {
        std::abort();  // a quarter of a million live blocks: the game leaks
    }
    size_t i = HomeSlot(p);
    while (s_pBlocks[i] != nullptr) {
        i = (i + 1) & TABLE_MASK;
    }
    s_pBlocks[i] = p;
    ++s_uLive;
    return p;
}

// Forgets p if it is counted, moving later entries of its probe run back
// into the gap so that every lookup still finds its entry.
void Untrack(const void* p) {
    if (p == nullptr) {
        return;  // or it would match the first empty slot
    }
    std::lock_guard<std::mutex> lock(s_Mutex);
    size_t i = HomeSlot(p);
    while (s_pBlocks[i] != p) {
        if (s_pBlocks[i] == nullptr) {
            return;
        }
        i = (i + 1) & TABLE_MASK;
    }
    for (size_t j = (i + 1) & TABLE_MASK; s_pBlocks[j] != nullptr; j = (j + 1) & TABLE_MASK) {
        if (((j - HomeSlot(s_pBlocks[j])) & TABLE_MASK) >= ((j - i) & TABLE_MASK)) {
            s_pBlocks[i] = s_pBlocks[j];
            i = j;
        }
    }
    s_pBlocks[i] = nullptr;
    --s_uLive;
}

__attribute__((constructor)) void InstallReportSignal() {
    std::signal(SIGUSR1, [](int) { s_iAsked = s_iAsked + 1; });
}

}  // namespace

extern "C" {

void* malloc(size_t uSize) noexcept {
    return Track(__libc_malloc(uSize), __builtin_return_address(0));
}

void* calloc(size_t uCount, size_t uSize) noexcept {
    return Track(__libc_calloc(uCount, uSize), __builtin_return_address(0));
}

void* realloc(void* p, size_t uSize) noexcept {
    Untrack(p);
    return Track(__libc_realloc(p, uSize), __builtin_return_address(0));
}

void free(void* p) noexcept {
    Untrack(p);
    __libc_free(p);
}

}  // extern "C"

// The C++ library's other forms forward to these; new[] by a jump, which
// keeps the caller's return address.
void* operator new(size_t uSize) {
    if (void* p = Track(__libc_malloc(uSize), __builtin_return_address(0))) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    free(p);
}

void operator delete(void* p, size_t) noexcept {
    free(p);
}

void glutSwapBuffers() {
    static const auto pfnSwap = reinterpret_cast<void (*)()>(dlsym(RTLD_NEXT, "glutSwapBuffers"));
    static std::sig_atomic_t iAnswered = 0;
    if (s_iAsked != iAnswered) {
        iAnswered = s_iAsked;
        std::fprintf(stderr, "heap count: %zu live blocks of the game's own\n", s_uLive.load());
    }
    pfnSwap();
}
