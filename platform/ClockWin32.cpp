#include "platform/Clock.h"

#include <windows.h>

namespace {

class CSystemClock final : public IClockSource {
public:
    bool QueryFrequency(int64_t* pllFrequency) const override {
        LARGE_INTEGER frequency;
        if (!QueryPerformanceFrequency(&frequency)) {
            return false;
        }
        *pllFrequency = frequency.QuadPart;
        return true;
    }

    int64_t QueryCounter() const override {
        LARGE_INTEGER counter;
        QueryPerformanceCounter(&counter);
        return counter.QuadPart;
    }

    uint32_t GetTimeMs() const override { return timeGetTime(); }
};

}  // namespace

const IClockSource& GetSystemClock() {
    static const CSystemClock s_Clock;
    return s_Clock;
}
