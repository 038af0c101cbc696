#include "app/Globals.h"

// All globals live in this one file: C++ orders static construction only
// within a translation unit, and the board must read its level before the
// window exists. Destruction runs in the reverse order.
CViewControl g_ViewControl;
CCamera g_Camera;
kov::CScene g_Scene;
kov::CBall g_Ball;
kov::CBoard g_Board;
kov::CBox g_Box;
kov::CStars g_Stars;
CTimer g_FrameTimer;
CTimer g_FpsTimer;

GLuint g_Textures[TEX_COUNT];
double g_dLastTime;
double g_dFrameTime;
int g_iFrames;
int g_iFps;
