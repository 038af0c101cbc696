#pragma once

// Shows szText in a modal box captioned "Error" with an OK button, and returns
// once the player has dismissed it: Return, Escape, Space, a click on OK, or
// the window manager's close. The box goes to the display szDisplay names;
// null means the display of the current GL context, or else $DISPLAY. Without
// a display it returns at once.
void ShowErrorBox(const char* szText, const char* szDisplay = nullptr);

// The display the toolkit will open: the value of a "-display NAME" option in
// argv, or null. argv itself is left as it is, for the toolkit.
const char* FindDisplayOption(int argc, char** argv);
