#include "support/GlContext.h"

#include <GL/freeglut.h>

#include <cstdlib>

#include "app/Game.h"
#include "platform/LeakCheck.h"

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
    glutDisplayFunc([] {});
    s_bCreated = true;
    PumpGlEvents();
}

void PumpGlEvents() {
    for (int i = 0; i < 5; ++i) {
        glutMainLoopEvent();
    }
}
