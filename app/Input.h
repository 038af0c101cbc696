#pragma once

// The toolkit's input callbacks: they change the tilt, the orbit and the
// settings; the next frame applies the change.
void OnKeyboard(unsigned char key, int x, int y);
void OnSpecialKey(int key, int x, int y);
void OnSpecialKeyUp(int key, int x, int y);  // follows the Shift keys' releases
void OnMouse(int button, int state, int x, int y);
void OnMotion(int x, int y);

// The orbit and distance of the start view, which frames the board whole; the
// look-at point stays.
void ResetOrbit();

// Where OnSpecialKey reads the modifier keys from: glutGetModifiers, which
// answers only inside an input callback, unless replaced (tests drive Shift,
// Ctrl and Alt this way). A null pointer restores glutGetModifiers. The mask's
// Shift counts only while a Shift key is held.
void SetModifierSource(int (*pfnGetModifiers)());
