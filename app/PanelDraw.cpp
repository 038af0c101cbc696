#include <GL/glu.h>
#include <GL/glut.h>

#include <algorithm>
#include <cstring>

#include "app/Panel.h"

bool g_bShowPanel = false;

namespace {

// In pixels.
constexpr int MARGIN = 8;  // from the window's top left corner, away from the frame rate
constexpr int PADDING = 6;  // left and right of the text
constexpr int GLYPH_WIDTH = 9;  // of the 9 x 15 font
constexpr int LINE_HEIGHT = 16;  // a glyph with a row to spare
constexpr int DESCENT = 4;       // of a line, below the base line
// Lines start on the software renderer's blocks of 16 rows, which it fills
// fastest when whole.
constexpr int RENDER_BLOCK = 16;
// In glyphs: a line's fields are two apart, as aligned columns would leave
// much of the backing empty, and the software renderer's time goes with the
// pixels it blends.
constexpr int FIELD_GAP = 2;
constexpr int LINE_LENGTH = 60;

// The font's glyphs in 16 rows of 16 cells of a line's height, bottom row first as GL reads them.
constexpr int GLYPH_COUNT = 256;
constexpr int FONT_COLUMNS = 16;
constexpr int FONT_WIDTH = FONT_COLUMNS * GLYPH_WIDTH;
constexpr int FONT_HEIGHT = GLYPH_COUNT / FONT_COLUMNS * LINE_HEIGHT;
GLubyte s_Glyphs[FONT_HEIGHT][FONT_WIDTH];

// The panel as one picture, the text on its backing, which goes to a texture
// when the text changes: once in half a second for the frame rate, and after input.
constexpr int PANEL_WIDTH = 2 * PADDING + LINE_LENGTH * GLYPH_WIDTH;
constexpr int PANEL_HEIGHT = PANEL_LINE_COUNT * LINE_HEIGHT;
constexpr int TEXTURE_WIDTH = 1024, TEXTURE_HEIGHT = 512;
// Dark enough for light text over the bright board, yet the board shows through.
// The colours are premultiplied by alpha, which blends a little faster.
const GLubyte BACKING[4] = {0, 0, 0, 191};
GLubyte s_Picture[PANEL_HEIGHT][PANEL_WIDTH][4];
int s_iLineWidth[PANEL_LINE_COUNT];  // of the backing, which ends a little after the line's text
                                     // and is all the renderer has to blend
CPanelText s_Shown;                  // the text in the texture
GLuint s_uiTexture = 0;

// The colours of the keys, of what they control and of the value.
const GLubyte FIELD_COLOURS[3][4] = {{255, 217, 77, 255}, {191, 191, 191, 255}, {255, 255, 255, 255}};

GLint GetInteger(GLenum eName, int iIndex) {
    GLint iValue[4] = {};
    glGetIntegerv(eName, iValue);
    return iValue[iIndex];
}

// Mesa draws every bitmap of glutBitmapCharacter apart, and a panel of them
// took some 20 ms a frame: the glyphs are drawn once, at the first showing, in
// the panel's place at (x, y), read, and the picture there is put back. False
// while the window is too small to hold them.
bool CaptureGlyphs(int x, int y) {
    static bool s_bCaptured = false;
    if (s_bCaptured || x < 0 || y < 0 || x + FONT_WIDTH > GetInteger(GL_VIEWPORT, 2)) {
        return s_bCaptured;
    }
    static GLubyte s_Saved[FONT_HEIGHT][FONT_WIDTH][3];
    glReadPixels(x, y, FONT_WIDTH, FONT_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, s_Saved);
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, y, FONT_WIDTH, FONT_HEIGHT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1.0f, 1.0f, 1.0f);
    for (int c = 1; c < GLYPH_COUNT; ++c) {
        glRasterPos2i(x + c % FONT_COLUMNS * GLYPH_WIDTH, y + c / FONT_COLUMNS * LINE_HEIGHT + DESCENT);
        glutBitmapCharacter(GLUT_BITMAP_9_BY_15, c);
    }
    glReadPixels(x, y, FONT_WIDTH, FONT_HEIGHT, GL_RED, GL_UNSIGNED_BYTE, s_Glyphs);
    glRasterPos2i(x, y);
    glDrawPixels(FONT_WIDTH, FONT_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, s_Saved);
    glDisable(GL_SCISSOR_TEST);
    s_bCaptured = true;
    return true;
}

int LineBottom(int iLine) {
    return (PANEL_LINE_COUNT - 1 - iLine) * LINE_HEIGHT;
}

// Writes sz into the picture from glyph x of line iLine on, cut off at the
// line's end; returns the glyph after its last.
int ComposeString(int iLine, int x, const char* sz, const GLubyte* pColour) {
    for (const char* pChar = sz; *pChar != '\0' && x < LINE_LENGTH; ++pChar, ++x) {
        const int c = static_cast<unsigned char>(*pChar);
        for (int iRow = 0; iRow < LINE_HEIGHT; ++iRow) {
            const GLubyte* pGlyph = &s_Glyphs[c / FONT_COLUMNS * LINE_HEIGHT + iRow][c % FONT_COLUMNS * GLYPH_WIDTH];
            GLubyte(*pPixel)[4] = &s_Picture[LineBottom(iLine) + iRow][PADDING + x * GLYPH_WIDTH];
            for (int i = 0; i < GLYPH_WIDTH; ++i) {
                std::memcpy(pPixel[i], pGlyph[i] != 0 ? pColour : BACKING, 4);
            }
        }
    }
    return x;
}

void UpdateTexture(const CPanelText& Text) {
    if (s_uiTexture == 0) {
        glGenTextures(1, &s_uiTexture);
        glBindTexture(GL_TEXTURE_2D, s_uiTexture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, TEXTURE_WIDTH, TEXTURE_HEIGHT, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    }
    glBindTexture(GL_TEXTURE_2D, s_uiTexture);
    // Line zero-fills every value, so that equal texts compare equal.
    if (std::memcmp(&Text, &s_Shown, sizeof(Text)) == 0) {
        return;
    }
    s_Shown = Text;
    for (auto& Row : s_Picture) {
        for (auto& Pixel : Row) {
            std::memcpy(Pixel, BACKING, 4);
        }
    }
    for (int i = 0; i < PANEL_LINE_COUNT; ++i) {
        const char* const szFields[] = {Text[i].szKeys, Text[i].szWhat, Text[i].szValue};
        int x = -FIELD_GAP;
        for (int j = 0; j < 3; ++j) {
            x = ComposeString(i, x + FIELD_GAP, szFields[j], FIELD_COLOURS[j]);
        }
        s_iLineWidth[i] = 2 * PADDING + std::min(x, LINE_LENGTH) * GLYPH_WIDTH;
    }
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, PANEL_WIDTH, PANEL_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, s_Picture);
}

// One quad a line, as long as its text.
void DrawLines(int iLeft, int iBottom) {
    glBegin(GL_QUADS);
    for (int i = 0; i < PANEL_LINE_COUNT; ++i) {
        const int y0 = LineBottom(i), y1 = y0 + LINE_HEIGHT;
        const float s1 = float(s_iLineWidth[i]) / TEXTURE_WIDTH;
        const float t0 = float(y0) / TEXTURE_HEIGHT, t1 = float(y1) / TEXTURE_HEIGHT;
        glTexCoord2f(0.0f, t0);
        glVertex2i(iLeft, iBottom + y0);
        glTexCoord2f(s1, t0);
        glVertex2i(iLeft + s_iLineWidth[i], iBottom + y0);
        glTexCoord2f(s1, t1);
        glVertex2i(iLeft + s_iLineWidth[i], iBottom + y1);
        glTexCoord2f(0.0f, t1);
        glVertex2i(iLeft, iBottom + y1);
    }
    glEnd();
}

}  // namespace

SPanelRect GetPanelRect() {
    const int iBottom = (GetInteger(GL_VIEWPORT, 3) - MARGIN - PANEL_HEIGHT) / RENDER_BLOCK * RENDER_BLOCK;
    return {MARGIN, iBottom, PANEL_WIDTH, PANEL_HEIGHT};
}

void DrawPanel() {
    if (!g_bShowPanel) {
        return;
    }
    const SPanelRect rect = GetPanelRect();
    // Restores the switches, the blending and the clear colour, the colour, the
    // raster position, the polygon mode, the scissor box, the matrix mode and the
    // bound texture with its environment; the matrices are pushed.
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_POLYGON_BIT | GL_SCISSOR_BIT |
                 GL_TRANSFORM_BIT | GL_TEXTURE_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, GetInteger(GL_VIEWPORT, 2), 0.0, GetInteger(GL_VIEWPORT, 3));
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    if (CaptureGlyphs(rect.iLeft, rect.iBottom + rect.iHeight - FONT_HEIGHT)) {
        UpdateTexture(BuildPanelText());
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        DrawLines(rect.iLeft, rect.iBottom);
    }

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}
