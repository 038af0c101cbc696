#include "app/Game.h"

#include <GL/glu.h>
#include <GL/glut.h>

#include "app/Globals.h"
#include "app/Hud.h"
#include "app/LightMarkers.h"
#include "app/Panel.h"
#include "app/Settings.h"
#include "app/Window.h"
#include "ball/BallMotion.h"
#include "platform/HeapReuse.h"

namespace {

struct STextureFile {
    const char* szFileName;
    int iMode;
};

// Indexed by texture slot.
const STextureFile TEXTURE_FILES[TEX_COUNT] = {
    {"data/wood.bmp", TEX_MODE_MIPMAP},  {"data/wall.bmp", TEX_MODE_MIPMAP},
    {"data/hole.bmp", TEX_MODE_MIPMAP},  {"data/start.bmp", TEX_MODE_LINEAR},
    {"data/ziel.bmp", TEX_MODE_NEAREST}, {"data/save.bmp", TEX_MODE_MIPMAP},
};

constexpr double FIELD_OF_VIEW = 45.0;      // degrees, vertical
constexpr double ORTHO_HALF_WIDTH = 12.0;   // the orthographic view is 24 units wide
constexpr float INITIAL_ASPECT = static_cast<float>(WINDOW_WIDTH) / WINDOW_HEIGHT;

void ApplyRenderSwitches(const CSettings& settings) {
    SetEnabled(GL_DEPTH_TEST, settings.bDepthTest);
    SetEnabled(GL_LIGHTING, settings.bLighting);
    SetEnabled(GL_TEXTURE_2D, settings.bTextures);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, settings.bLocalViewer);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, settings.bTwoSided);
    glShadeModel(settings.bSmooth ? GL_SMOOTH : GL_FLAT);
    glPolygonMode(GL_FRONT_AND_BACK, settings.bWireframe ? GL_LINE : GL_FILL);
    const GLfloat AMBIENT_ON[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    const GLfloat AMBIENT_OFF[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, settings.bAmbient ? AMBIENT_ON : AMBIENT_OFF);
}

void ApplyProjection(const CSettings& settings) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (settings.bPerspective) {
        gluPerspective(FIELD_OF_VIEW, settings.fAspect, settings.fNear, settings.fFar);
        glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    } else {
        const double dHalfHeight = ORTHO_HALF_WIDTH / settings.fAspect;
        glOrtho(-ORTHO_HALF_WIDTH, ORTHO_HALF_WIDTH, -dHalfHeight, dHalfHeight, settings.fNear, settings.fFar);
    }
}

void ApplyView() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    g_Camera.Apply(g_ViewControl.iAngleX, g_ViewControl.iAngleY, g_ViewControl.iWindowWidth,
                   g_ViewControl.iWindowHeight, g_ViewControl.fDistance);
}

}  // namespace

void SetEnabled(GLenum cap, bool bOn) {
    if (bOn) {
        glEnable(cap);
    } else {
        glDisable(cap);
    }
}

void AssignSettingsDefaults() {
    CSettings& settings = GetSettings();
    settings.iSlices = 32;
    settings.iStacks = 32;
    settings.bSmooth = true;
    settings.bLocalViewer = true;
    settings.bDepthTest = true;
    settings.bTwoSided = true;
    settings.bAmbient = true;
    settings.bPerspective = true;
    settings.bShowFps = false;
    settings.bWireframe = false;
    settings.bLighting = true;
    settings.bTextures = true;
    // Light 0 hangs over the centre; lights 1 and 2 over opposite corners of a
    // 20 x 20 field; light 3 is a direction.
    settings.bLightOn[0] = true;
    SetVector(&settings.vLightPos[0], 0.0f, 2.5f, 0.0f);
    settings.bLightOn[1] = false;
    SetVector(&settings.vLightPos[1], 9.5f, 1.5f, 9.5f);
    settings.bLightOn[2] = false;
    SetVector(&settings.vLightPos[2], -9.5f, 1.5f, -9.5f);
    settings.bLightOn[3] = false;
    SetVector(&settings.vLightPos[3], 1.0f, -2.0f, 1.0f);
    settings.iLight = 0;
    SetVector(&settings.vSpotDir, 0.0f, -1.0f, 0.0f);
    settings.fSpotCutoff = 90.0f;
    settings.fSpotExponent = 0.5f;
    settings.fNear = 0.1f;
    settings.fFar = StartFar(g_Board.iWidth, g_Board.iHeight);
}

void OpenGameWindow(int* pArgc, char** argv) {
    KeepFreedHeapForReuse();
    // The defaults go first, so that the toolkit's own options, such as
    // -geometry, replace them.
    glutInitWindowSize(WINDOW_WIDTH, WINDOW_HEIGHT);
    glutInitWindowPosition(0, 0);
    glutInit(pArgc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow("KOV Arbeit");
}

void LoadTextures() {
    for (int iSlot = 0; iSlot < TEX_COUNT; ++iSlot) {
        LoadTexture(iSlot, TEXTURE_FILES[iSlot].szFileName, TEXTURE_FILES[iSlot].iMode);
    }
}

void BuildScene() {
    g_Scene.RootNode.Children.push_back(&g_Stars);

    g_Box.uiTexture = g_Textures[TEX_WOOD];
    for (int i = 0; i < TEX_COUNT; ++i) {
        g_Board.uiTexture[i] = g_Textures[i];
    }
    g_Box.iWidth = g_Board.iWidth;
    g_Box.iHeight = g_Board.iHeight;
    g_Ball.iWidth = g_Board.iWidth;
    g_Ball.iHeight = g_Board.iHeight;

    g_Scene.RootNode.Children.push_back(&g_Box);
    g_Box.Children.push_back(&g_Board);

    g_Ball.fRadius = 0.475f;
    g_Ball.SetScale(2.0f, 2.0f, 2.0f);
    PlaceBallOnRespawnCell();
    g_Board.Children.push_back(&g_Ball);

    // Orange-brown with a white highlight.
    g_Ball.SetAmbient(0.4f, 0.2f, 0.0f, 1.0f);
    g_Ball.SetDiffuse(0.9f, 0.6f, 0.0f, 1.0f);
    g_Ball.SetSpecular(1.0f, 1.0f, 1.0f, 1.0f);
    g_Ball.SetShininess(10.0f);
}

void StartTimers() {
    g_dLastTime = g_FrameTimer.GetElapsed();
    g_FpsTimer.Reset();
}

void DrawFrame() {
    // The step is the wall-clock time since the last frame, unclamped.
    g_dFrameTime = (g_FrameTimer.GetElapsed() - g_dLastTime) / 1000.0;
    g_dLastTime = g_FrameTimer.GetElapsed();
    UpdateBall(g_dFrameTime);

    // Everything the settings control becomes GL state anew each frame.
    const CSettings& settings = GetSettings();
    ApplyRenderSwitches(settings);
    ApplyProjection(settings);
    ApplyView();
    g_Stars.SetPosition(g_Camera.GetEyeX(), g_Camera.GetEyeY(), g_Camera.GetEyeZ());

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    g_Scene.Draw();
    DrawLightMarkers();
    // The panel first: it must not count on the state the overlay leaves.
    DrawPanel();
    DrawHud();
    glFlush();
}

void OnDisplay() {
    DrawFrame();
    glutSwapBuffers();
}

void OnReshape(int w, int h) {
    // A minimised window reports a zero size; the last aspect (or the first
    // window's) stays until it comes back, so the projection never divides by zero.
    CSettings& settings = GetSettings();
    if (w > 0 && h > 0) {
        settings.fAspect = static_cast<float>(static_cast<double>(w) / static_cast<double>(h));
    } else if (settings.fAspect <= 0.0f) {
        settings.fAspect = INITIAL_ASPECT;
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FIELD_OF_VIEW, settings.fAspect, 1.0, 2000.0);
    glViewport(0, 0, w, h);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    g_ViewControl.iWindowWidth = w;
    g_ViewControl.iWindowHeight = h;
}

void OnIdle() {
    glutPostRedisplay();
}
