#include "app/Input.h"

// PLACEHOLDER: the input tables are being written.
void OnKeyboard(unsigned char, int, int) {}
void OnSpecialKey(int, int, int) {}
void OnMouse(int, int, int, int) {}
void OnMotion(int, int) {}
