#include "support/GlContext.h"

#include <GL/freeglut.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "app/Game.h"
#include "platform/LeakCheck.h"

namespace {

bool g_bShown = false;

// The toolkit redisplays a window only once it is mapped and exposed: wait
// for its first display rather than for a fixed number of rounds of events.
void WaitUntilShown() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!g_bShown) {
        if (std::chrono::steady_clock::now() > deadline) {
            std::fprintf(stderr, "the test window was not shown within 20 s\n");
            std::exit(1);
        }
        glutMainLoopEvent();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace

void EnsureGlWindow() {
    static bool s_bCreated = false;
    if (s_bCreated) {
        return;
    }
    // Mesa's software renderer, as in the test command, unless the caller chose otherwise.
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    int argc = 1;
    char szName[] = "kov_gl_tests";
    char* argv[] = {szName, nullptr};
    OpenGameWindow(&argc, argv);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
    CheckLeaksBeforeTheDriverUnloads();
    // freeglut wants a display callback before it processes events.
    glutDisplayFunc([] { g_bShown = true; });
    s_bCreated = true;
    WaitUntilShown();
    glutDisplayFunc([] {});
}

void PumpGlEvents() {
    for (int i = 0; i < 5; ++i) {
        glutMainLoopEvent();
    }
}
