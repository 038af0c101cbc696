#include "app/Input.h"

#include <GL/freeglut.h>

#include <cstdlib>

#include "app/Globals.h"
#include "app/LightMarkers.h"
#include "app/Panel.h"
#include "app/Settings.h"

namespace {

constexpr int KEY_ESCAPE = 27;

constexpr float TILT_LIMIT = 2.0f;          // degrees either way
constexpr float TILT_STEP = 0.1f;           // per arrow press
constexpr float PIXELS_PER_DEGREE = 50.0f;  // of a left drag: 5 pixels are one arrow press
constexpr float CENTER_STEP = 0.1f;
constexpr float LIGHT_STEP = 0.1f;
constexpr float ZOOM_PER_PIXEL = 0.25f;  // of a middle drag
constexpr int MIN_TESSELLATION = 10;  // "-" works from here, so it stops at 9
constexpr float MIN_CUTOFF = 10.0f;
constexpr float MAX_CUTOFF = 180.0f;
constexpr float EXPONENT_STEP = 0.1f;
constexpr float MAX_EXPONENT = 10.0f;
constexpr double MIN_EXPONENT = 0.1;  // compared in double: 0.1f is a little above it

constexpr int BUTTON_LEFT = 0;
constexpr int BUTTON_MIDDLE = 1;
constexpr int BUTTON_RIGHT = 2;
constexpr int BUTTON_NONE = -1;

int (*s_pfnGetModifiers)() = glutGetModifiers;

// The left and right Shift keys held, followed through their own presses and
// releases: the modifier mask also says Shift while Caps Lock is on.
bool s_bShiftHeld[2] = {false, false};

void TrackShiftKey(int key, bool bDown) {
    if (key == GLUT_KEY_SHIFT_L || key == GLUT_KEY_SHIFT_R) {
        s_bShiftHeld[key - GLUT_KEY_SHIFT_L] = bDown;
    }
}

void Toggle(bool* pbSwitch) {
    *pbSwitch = !*pbSwitch;
}

float ClampTilt(float fTilt) {
    if (fTilt < -TILT_LIMIT) {
        return -TILT_LIMIT;
    }
    if (fTilt > TILT_LIMIT) {
        return TILT_LIMIT;
    }
    return fTilt;
}

// Keeps an orbit angle within one turn, correcting by one window size at most.
int WrapAngle(int iAngle, int iSize) {
    if (iAngle < 0) {
        iAngle += iSize;
    }
    if (iAngle > iSize) {
        iAngle -= iSize;
    }
    return iAngle;
}

}  // namespace

void ResetOrbit() {
    g_ViewControl.iAngleX = ORBIT_START_ANGLE_X;
    g_ViewControl.iAngleY = ORBIT_START_ANGLE_Y;
    g_ViewControl.fDistance = StartDistance(g_Board.iWidth, g_Board.iHeight);
}

namespace {

CVector3& SelectedLight(CSettings& settings) {
    return settings.vLightPos[settings.iLight];
}

// The keys that switch the rendering; false when the key is none of them.
bool ToggleSwitch(unsigned char key, CSettings& settings) {
    switch (key) {
        case 'Z': case 'z': Toggle(&settings.bDepthTest); return true;
        case 'L': case 'l': Toggle(&settings.bLighting); return true;
        case 'W': case 'w': Toggle(&settings.bWireframe); return true;
        case '0': Toggle(&settings.bAmbient); return true;
        case 'D': case 'd': Toggle(&settings.bTwoSided); return true;
        case 'S': case 's': Toggle(&settings.bSmooth); return true;
        case 'T': case 't': Toggle(&settings.bTextures); return true;
        case 'F': case 'f': Toggle(&settings.bShowFps); return true;
        case 'V': case 'v': Toggle(&settings.bLocalViewer); return true;
        case 'P': case 'p': Toggle(&settings.bPerspective); return true;
        default: return false;
    }
}

// The keys that move the selected light, the spot and the clipping planes.
void NudgeValue(unsigned char key, CSettings& settings) {
    switch (key) {
        case 'j': SelectedLight(settings).z -= LIGHT_STEP; break;
        case 'm': SelectedLight(settings).z += LIGHT_STEP; break;
        case 'n': SelectedLight(settings).x -= LIGHT_STEP; break;
        case ',': SelectedLight(settings).x += LIGHT_STEP; break;
        case 'J': settings.vSpotDir.z -= LIGHT_STEP; break;
        case 'M': settings.vSpotDir.z += LIGHT_STEP; break;
        case 'N': settings.vSpotDir.x -= LIGHT_STEP; break;
        case ';': settings.vSpotDir.x += LIGHT_STEP; break;
        case 'y': settings.fNear += 1.0f; break;
        case 'Y':
            if (settings.fNear > 1.0f) {
                settings.fNear -= 1.0f;
            }
            break;
        case 'A': settings.fFar += 1.0f; break;
        case 'a':
            if (settings.fFar > 1.0f) {
                settings.fFar -= 1.0f;
            }
            break;
        default: break;
    }
}

void MoveCenterOrTilt(int key) {
    // Shift together with Ctrl or Alt counts as no Shift.
    const bool bShift = (s_bShiftHeld[0] || s_bShiftHeld[1]) && s_pfnGetModifiers() == GLUT_ACTIVE_SHIFT;
    CVector3& vCenter = g_Camera.vCenter;
    switch (key) {
        case GLUT_KEY_LEFT:
            if (bShift) {
                vCenter.x -= CENTER_STEP;
            } else {
                g_Board.fTiltZ = ClampTilt(g_Board.fTiltZ + TILT_STEP);
            }
            break;
        case GLUT_KEY_RIGHT:
            if (bShift) {
                vCenter.x += CENTER_STEP;
            } else {
                g_Board.fTiltZ = ClampTilt(g_Board.fTiltZ - TILT_STEP);
            }
            break;
        case GLUT_KEY_UP:
            if (bShift) {
                vCenter.z -= CENTER_STEP;
            } else {
                g_Board.fTiltX = ClampTilt(g_Board.fTiltX - TILT_STEP);
            }
            break;
        case GLUT_KEY_DOWN:
            if (bShift) {
                vCenter.z += CENTER_STEP;
            } else {
                g_Board.fTiltX = ClampTilt(g_Board.fTiltX + TILT_STEP);
            }
            break;
        default: break;
    }
}

void AdjustSpot(int key) {
    CSettings& settings = GetSettings();
    switch (key) {
        case GLUT_KEY_PAGE_UP:
            if (settings.fSpotCutoff < MAX_CUTOFF) {
                settings.fSpotCutoff += 1.0f;
            }
            break;
        case GLUT_KEY_PAGE_DOWN:
            if (settings.fSpotCutoff > MIN_CUTOFF) {
                settings.fSpotCutoff -= 1.0f;
            }
            break;
        case GLUT_KEY_HOME:
            if (settings.fSpotExponent < MAX_EXPONENT) {
                settings.fSpotExponent += EXPONENT_STEP;
            }
            break;
        case GLUT_KEY_END:
            if (settings.fSpotExponent > MIN_EXPONENT) {
                settings.fSpotExponent -= EXPONENT_STEP;
            }
            break;
        case GLUT_KEY_INSERT: Toggle(&settings.bLightOn[settings.iLight]); break;
        default: break;
    }
}

void DragTilt(int iDeltaX, int iDeltaY) {
    g_Board.fTiltZ -= iDeltaX / PIXELS_PER_DEGREE;
    g_Board.fTiltX += iDeltaY / PIXELS_PER_DEGREE;
    g_Board.fTiltZ = ClampTilt(g_Board.fTiltZ);
    g_Board.fTiltX = ClampTilt(g_Board.fTiltX);
}

void DragZoom(int iDeltaY) {
    g_ViewControl.fDistance += iDeltaY * ZOOM_PER_PIXEL;
    if (g_ViewControl.fDistance < MIN_DISTANCE) {
        g_ViewControl.fDistance = MIN_DISTANCE;
    }
}

void DragOrbit(int iDeltaX, int iDeltaY) {
    g_ViewControl.iAngleX = WrapAngle(g_ViewControl.iAngleX + iDeltaX, g_ViewControl.iWindowWidth);
    g_ViewControl.iAngleY = WrapAngle(g_ViewControl.iAngleY + iDeltaY, g_ViewControl.iWindowHeight);
}

}  // namespace

void SetModifierSource(int (*pfnGetModifiers)()) {
    s_pfnGetModifiers = pfnGetModifiers != nullptr ? pfnGetModifiers : glutGetModifiers;
}

void OnKeyboard(unsigned char key, int, int) {
    CSettings& settings = GetSettings();
    if (ToggleSwitch(key, settings)) {
        return;
    }
    switch (key) {
        case KEY_ESCAPE: std::exit(0);
        case '+':
            ++settings.iSlices;
            ++settings.iStacks;
            break;
        case '-':
            if (settings.iSlices >= MIN_TESSELLATION) {
                --settings.iSlices;
                --settings.iStacks;
            }
            break;
        case '1': settings.iLight = 0; break;
        case '2': settings.iLight = 1; break;
        case '3': settings.iLight = 2; break;
        case '4': settings.iLight = 3; break;
        case 'I':
        case 'i':
            ResetOrbit();
            glutPostRedisplay();
            break;
        default: NudgeValue(key, settings); break;
    }
}

void OnSpecialKey(int key, int, int) {
    TrackShiftKey(key, true);
    MoveCenterOrTilt(key);
    AdjustSpot(key);
    if (key == GLUT_KEY_F1) {
        Toggle(&g_bShowPanel);
    }
    if (key == GLUT_KEY_F2) {
        Toggle(&g_bShowLightMarkers);
    }
    glutPostRedisplay();
}

void OnSpecialKeyUp(int key, int, int) {
    TrackShiftKey(key, false);
}

void OnMouse(int button, int state, int x, int y) {
    // Any release ends all dragging, even while another button is still down.
    g_ViewControl.iButton = state == GLUT_DOWN ? button : BUTTON_NONE;
    if (g_ViewControl.iButton == BUTTON_NONE) {
        return;
    }
    if (button < BUTTON_LEFT || button > BUTTON_RIGHT) {
        return;
    }
    g_ViewControl.iLastX = x;
    g_ViewControl.iLastY = y;
}

void OnMotion(int x, int y) {
    // Only the movement since the last handled event counts.
    const int iDeltaX = x - g_ViewControl.iLastX;
    const int iDeltaY = y - g_ViewControl.iLastY;
    switch (g_ViewControl.iButton) {
        case BUTTON_LEFT: DragTilt(iDeltaX, iDeltaY); break;
        case BUTTON_MIDDLE: DragZoom(iDeltaY); break;
        case BUTTON_RIGHT: DragOrbit(iDeltaX, iDeltaY); break;
        default: return;
    }
    g_ViewControl.iLastX = x;
    g_ViewControl.iLastY = y;
    glutPostRedisplay();
}
