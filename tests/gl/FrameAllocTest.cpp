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

void* AllocateOrThrow(std::size_t uSize) {
    void* p = Allocate(uSize);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}

}  // namespace

void* operator new(std::size_t uSize) { return AllocateOrThrow(uSize); }
void* operator new[](std::size_t uSize) { return AllocateOrThrow(uSize); }
void* operator new(std::size_t uSize, const std::nothrow_t&) noexcept { return Allocate(uSize); }
void* operator new[](std::size_t uSize, const std::nothrow_t&) noexcept { return Allocate(uSize); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

constexpr int WARM_UP_FRAMES = 10;  // the driver builds its shader variants here
constexpr int COUNTED_FRAMES = 1000;

int CountAllocations(int iFrames) {
    g_iAllocations = 0;
    t_bCounting = true;
    for (int i = 0; i < iFrames; ++i) {
        OnDisplay();
    }
    t_bCounting = false;
    return g_iAllocations;
}

}  // namespace

TEST(FrameAlloc, CountingSeesAnAllocation) {
    t_bCounting = true;
    g_iAllocations = 0;
    delete new int(7);
    t_bCounting = false;
    EXPECT_EQ(g_iAllocations, 1);
}

TEST(FrameAlloc, FramesOfTheShippedLevelAllocateNothing) {
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

    CountAllocations(WARM_UP_FRAMES);
    EXPECT_EQ(CountAllocations(COUNTED_FRAMES), 0);
    // The frames did run: time passed and the overlay found a rate.
    EXPECT_GT(g_dFrameTime, 0.0);
    EXPECT_GT(g_iFps, 0);
}
