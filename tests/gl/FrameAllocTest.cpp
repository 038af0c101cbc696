#include <atomic>
#include <cstdlib>
#include <new>

#include <gtest/gtest.h>

#include "app/Game.h"
#include "app/Globals.h"
#include "app/Settings.h"

// Counting replacements of the global operator new. They serve every test of
// this executable, but count only on a thread that has switched counting on,
// so the driver's worker threads are not taken for the game.
namespace {

thread_local bool t_bCounting = false;
std::atomic<int> g_iAllocations{0};

void* Allocate(std::size_t uSize) noexcept {
    if (t_bCounting) {
        ++g_iAllocations;
    }
    return std::malloc(uSize == 0 ? 1 : uSize);
}

}  // namespace

void* operator new(std::size_t uSize) {
    if (void* p = Allocate(uSize)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t uSize) { return ::operator new(uSize); }
void* operator new(std::size_t uSize, const std::nothrow_t&) noexcept { return Allocate(uSize); }
void* operator new[](std::size_t uSize, const std::nothrow_t&) noexcept { return Allocate(uSize); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

// Allocations made on this thread while pfnWork runs.
int CountAllocations(void (*pfnWork)()) {
    g_iAllocations = 0;
    t_bCounting = true;
    pfnWork();
    t_bCounting = false;
    return g_iAllocations;
}

void AllocateOnce() {
    int* volatile p = new int(7);  // volatile: the pair is not optimised away
    delete p;
}

void RunFrames(int iFrames) {
    for (int i = 0; i < iFrames; ++i) {
        OnDisplay();
    }
}

}  // namespace

TEST(FrameAlloc, FramesOfTheShippedLevelAllocateNothing) {
    ASSERT_EQ(CountAllocations(AllocateOnce), 1);
    ASSERT_EQ(g_Board.iLoadError, 0);
    ASSERT_GT(g_Board.iWidth, 0);
    // Start-up as main does it, then the reshape the toolkit delivers.
    AssignSettingsDefaults();
    LoadTextures();
    BuildScene();
    StartTimers();
    OnReshape(1024, 768);
    // The rate shown, and the board tilted so that the ball rolls into walls.
    GetSettings().bShowFps = true;
    g_Board.fTiltZ = 2.0f;
    g_Board.fTiltX = -1.5f;

    RunFrames(10);  // the driver builds its shader variants here
    EXPECT_EQ(CountAllocations([] { RunFrames(1000); }), 0);
    // The frames did run: time passed and the overlay found a rate.
    EXPECT_GT(g_dFrameTime, 0.0);
    EXPECT_GT(g_iFps, 0);
}
