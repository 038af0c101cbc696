#include "platform/LeakCheck.h"

#include <cstdlib>

// Defined only when the leak checker is linked in.
extern "C" __attribute__((weak)) void __lsan_do_leak_check();

namespace {

void CheckLeaks() {
    __lsan_do_leak_check();
}

}  // namespace

void CheckLeaksBeforeTheDriverUnloads() {
    // Exit handlers run in reverse order of registration: this one runs
    // before the toolkit's, which was registered when it was initialised.
    if (__lsan_do_leak_check != nullptr) {
        std::atexit(CheckLeaks);
    }
}
