#pragma once

#include <GL/gl.h>

#include "app/Camera.h"
#include "app/Timer.h"
#include "ball/Ball.h"
#include "board/Board.h"
#include "board/Box.h"
#include "board/Texture.h"
#include "scene/Scene.h"
#include "scene/Stars.h"

// Every object of the game is one of these globals; none owns another.
extern CViewControl g_ViewControl;
extern CCamera g_Camera;
extern kov::CScene g_Scene;
extern kov::CBall g_Ball;
extern kov::CBoard g_Board;
extern kov::CBox g_Box;
extern kov::CStars g_Stars;
extern CTimer g_FrameTimer;
extern CTimer g_FpsTimer;

extern GLuint g_Textures[TEX_COUNT];
extern double g_dLastTime;   // ms, the frame timer's reading at the last frame
extern double g_dFrameTime;  // s, between the last two frames
extern int g_iFrames;        // frames in the current frame-rate window
extern int g_iFps;           // the rate the overlay shows
