#include "platform/ErrorBox.h"

#include <windows.h>

void ShowErrorBox(const char* szText, const char*) {
    // Owned by the window with the keyboard focus, so that it stays in front of the game.
    MessageBoxA(GetFocus(), szText, "Error", MB_OK | MB_ICONERROR);
}

const char* FindDisplayOption(int, char**) {
    // Windows has one desktop: a box always shows on it.
    return nullptr;
}
