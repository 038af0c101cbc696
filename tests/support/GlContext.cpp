#include "support/GlContext.h"

#include <GL/freeglut.h>

#include <cstdlib>

// Defined only when the leak checker is linked in.
extern "C" __attribute__((weak)) void __lsan_do_leak_check();

namespace {

// The toolkit closes the display at exit, which unloads the GL driver. Leaks
// are looked for before that (exit handlers run in reverse order), while the
// driver's allocations still match the suppressions by module name.
void CheckLeaksWhileTheDriverIsLoaded() {
    if (__lsan_do_leak_check != nullptr) {
        __lsan_do_leak_check();
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
    glutInit(&argc, argv);
    glutInitWindowSize(1024, 768);
    glutInitWindowPosition(0, 0);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
    glutCreateWindow("KOV Arbeit");
    std::atexit(CheckLeaksWhileTheDriverIsLoaded);
    // freeglut wants a display callback before it processes events.
    glutDisplayFunc([] {});
    s_bCreated = true;
    PumpGlEvents();
}

void PumpGlEvents() {
    for (int i = 0; i < 5; ++i) {
        glutMainLoopEvent();
    }
}
