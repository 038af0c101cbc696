#pragma once

// The toolkit's input callbacks: they change the tilt, the orbit and the
// settings; the next frame applies the change.
void OnKeyboard(unsigned char key, int x, int y);
void OnSpecialKey(int key, int x, int y);
void OnMouse(int button, int state, int x, int y);
void OnMotion(int x, int y);
