// The soak's build of the game counts the heap blocks that the game's own code
// allocated and has not freed, untouched by the GL driver's growing caches: a
// block whose caller lies in the executable's text joins a list that frees are
// matched against. SIGUSR1 asks for the count, written at the next swap.
#include <dlfcn.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>

extern "C" {
void* __libc_malloc(size_t uSize);
void* __libc_calloc(size_t uCount, size_t uSize);
void* __libc_realloc(void* p, size_t uSize);
void __libc_free(void* p);
extern const char __executable_start[], etext[];  // the executable's text, from the linker
}

namespace {

constexpr size_t CAPACITY = 1 << 16;

const void* s_pBlocks[CAPACITY];  // the game holds a few: a plain list will do
std::atomic<size_t> s_uLive{0};
std::mutex s_Mutex;  // the GL driver's threads allocate too
volatile std::sig_atomic_t s_iAsked = 0;

void* Track(void* p, const void* pCaller) {
    if (p != nullptr && pCaller >= __executable_start && pCaller < etext) {
        std::lock_guard<std::mutex> lock(s_Mutex);
        if (s_uLive == CAPACITY) {
            std::abort();  // the game leaks
        }
        s_pBlocks[s_uLive++] = p;
    }
    return p;
}

void Untrack(const void* p) {
    std::lock_guard<std::mutex> lock(s_Mutex);
    for (size_t i = 0; i < s_uLive; ++i) {
        if (s_pBlocks[i] == p) {
            s_pBlocks[i] = s_pBlocks[--s_uLive];
            return;
        }
    }
}

[[maybe_unused]] const auto s_pfnDefault = std::signal(SIGUSR1, [](int) { s_iAsked = s_iAsked + 1; });

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

void glutSwapBuffers() {
    static const auto pfnSwap = reinterpret_cast<void (*)()>(dlsym(RTLD_NEXT, "glutSwapBuffers"));
    static std::sig_atomic_t iAnswered = 0;
    if (s_iAsked != iAnswered) {
        iAnswered = s_iAsked;
        std::fprintf(stderr, "heap count: %zu live blocks of the game's own\n", s_uLive.load());
    }
    pfnSwap();
}

}  // extern "C"

// The C++ library's other forms call these; new[] by a jump, so its caller is ours.
void* operator new(size_t uSize) {
    return Track(__libc_malloc(uSize), __builtin_return_address(0));  // no memory: the soak fails anyway
}

void operator delete(void* p) noexcept {
    free(p);
}

void operator delete(void* p, size_t) noexcept {
    free(p);
}
