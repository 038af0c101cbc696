#pragma once

#include <array>

// The workbench's panel, switched by F1: one line per binding with its keys,
// what they control and the value in force, over the top left of the picture.

constexpr int PANEL_LINE_COUNT = 27;
constexpr int PANEL_VALUE_SIZE = 48;

struct SPanelLine {
    const char* szKeys;
    const char* szWhat;
    char szValue[PANEL_VALUE_SIZE];  // one byte a glyph: ISO 8859-1, as the bitmap font
};

using CPanelText = std::array<SPanelLine, PANEL_LINE_COUNT>;

// The window pixels the panel may change, from the bottom left corner; the
// viewport, which starts there, is taken for the window.
struct SPanelRect {
    int iLeft, iBottom, iWidth, iHeight;
};

extern bool g_bShowPanel;

// The lines from the settings and the globals as they are now.
CPanelText BuildPanelText();
SPanelRect GetPanelRect();

// Draws the panel when it is shown, and leaves the GL state as it found it.
void DrawPanel();
