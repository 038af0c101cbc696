#include "app/Hud.h"

#include <GL/glu.h>
#include <GL/glut.h>

#include <cstdio>

#include "app/Globals.h"
#include "app/Settings.h"

namespace {

constexpr double FPS_WINDOW_MS = 500.0;  // the rate is counted over half a second, doubled
constexpr float FPS_TEXT_X = 0.81f;      // window coordinates from -1 to 1
constexpr float FPS_TEXT_Y = 0.95f;

void CountFrame() {
    ++g_iFrames;
    if (g_FpsTimer.GetElapsed() >= FPS_WINDOW_MS) {
        g_iFps = g_iFrames * 2;
        g_FpsTimer.Reset();
        g_iFrames = 0;
    }
}

void DrawFpsText() {
    glColor4f(0.0f, 0.0f, 1.0f, 1.0f);
    glRasterPos2f(FPS_TEXT_X, FPS_TEXT_Y);
    char txt[255];
    std::snprintf(txt, sizeof(txt), "FPS: %i", g_iFps);
    for (const char* pChar = txt; *pChar != '\0'; ++pChar) {
        glutBitmapCharacter(GLUT_BITMAP_9_BY_15, *pChar);
    }
}

}  // namespace

void DrawHud() {
    CountFrame();

    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(-1.0, 1.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    if (GetSettings().bShowFps) {
        DrawFpsText();
    }

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}
