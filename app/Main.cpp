#include <GL/glut.h>

#include <cstdio>

#include "app/Game.h"
#include "app/Globals.h"
#include "app/Input.h"
#include "platform/ErrorBox.h"
#include "platform/FileMap.h"
#include "platform/LeakCheck.h"

int main(int argc, char** argv) {
    AssignSettingsDefaults();
    ResetOrbit();

    // The board read its level before main; without one there is no game.
    if (g_Board.iLoadError != 0) {
        char szMessage[256];
        std::snprintf(szMessage, sizeof(szMessage), "kov: cannot read the level file %s: %s", LEVEL_FILE_NAME,
                      DescribeFileError(g_Board.iLoadError));
        std::fprintf(stderr, "%s\n", szMessage);
        // No window yet: the box opens a connection of its own, to the display the toolkit would use.
        ShowErrorBox(szMessage, FindDisplayOption(argc, argv));
        return 1;
    }

    OpenGameWindow(&argc, argv);
    CheckLeaksBeforeTheDriverUnloads();

    glutDisplayFunc(OnDisplay);
    glutReshapeFunc(OnReshape);
    glutMouseFunc(OnMouse);
    glutMotionFunc(OnMotion);
    glutKeyboardFunc(OnKeyboard);
    glutSpecialFunc(OnSpecialKey);
    glutSpecialUpFunc(OnSpecialKeyUp);
    glutIdleFunc(OnIdle);

    LoadTextures();
    BuildScene();
    StartTimers();

    glutMainLoop();
    return 0;
}
