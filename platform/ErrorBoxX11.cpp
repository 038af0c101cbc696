#include "platform/ErrorBox.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int MARGIN = 16;  // pixels around the text and below the button
constexpr int BUTTON_WIDTH = 80;
constexpr int BUTTON_HEIGHT = 26;
constexpr int MIN_WIDTH = 240;

// The text's lines; a last line break ends the text rather than adding a line.
std::vector<std::string> SplitLines(const char* szText) {
    std::vector<std::string> Lines;
    std::string sRest = szText;
    if (!sRest.empty() && sRest.back() == '\n') {
        sRest.pop_back();
    }
    size_t uStart = 0;
    for (size_t uEnd; (uEnd = sRest.find('\n', uStart)) != std::string::npos; uStart = uEnd + 1) {
        Lines.push_back(sRest.substr(uStart, uEnd - uStart));
    }
    Lines.push_back(sRest.substr(uStart));
    return Lines;
}

struct SBox {
    Display* pDisplay;
    Window window;
    GC gc;
    XFontStruct* pFont;
    std::vector<std::string> Lines;
    int iWidth;
    int iHeight;
    int iLineHeight;
    XRectangle button;
    Atom deleteWindow;  // the window manager's close
};

int TextWidth(const SBox& box, const std::string& sText) {
    return XTextWidth(box.pFont, sText.c_str(), static_cast<int>(sText.size()));
}

void Draw(const SBox& box) {
    XClearWindow(box.pDisplay, box.window);
    for (size_t i = 0; i < box.Lines.size(); ++i) {
        const int y = MARGIN + box.pFont->ascent + static_cast<int>(i) * box.iLineHeight;
        XDrawString(box.pDisplay, box.window, box.gc, MARGIN, y, box.Lines[i].c_str(),
                    static_cast<int>(box.Lines[i].size()));
    }
    const XRectangle& b = box.button;
    XDrawRectangle(box.pDisplay, box.window, box.gc, b.x, b.y, b.width, b.height);
    const int iBaseline = b.y + (b.height + box.pFont->ascent - box.pFont->descent) / 2;
    XDrawString(box.pDisplay, box.window, box.gc, b.x + (b.width - TextWidth(box, "OK")) / 2, iBaseline, "OK", 2);
}

bool IsDismissKey(XKeyEvent* pEvent) {
    const KeySym key = XLookupKeysym(pEvent, 0);
    return key == XK_Return || key == XK_KP_Enter || key == XK_Escape || key == XK_space;
}

bool InButton(const SBox& box, int x, int y) {
    const XRectangle& b = box.button;
    return x >= b.x && x <= b.x + b.width && y >= b.y && y <= b.y + b.height;
}

void Layout(SBox* pBox) {
    pBox->iLineHeight = pBox->pFont->ascent + pBox->pFont->descent;
    int iTextWidth = 0;
    for (const std::string& sLine : pBox->Lines) {
        iTextWidth = std::max(iTextWidth, TextWidth(*pBox, sLine));
    }
    pBox->iWidth = std::max(MIN_WIDTH, iTextWidth + 2 * MARGIN);
    const int iTextHeight = static_cast<int>(pBox->Lines.size()) * pBox->iLineHeight;
    pBox->button = {static_cast<short>((pBox->iWidth - BUTTON_WIDTH) / 2),
                    static_cast<short>(2 * MARGIN + iTextHeight), BUTTON_WIDTH, BUTTON_HEIGHT};
    pBox->iHeight = pBox->button.y + BUTTON_HEIGHT + MARGIN;
}

// A fixed-size dialog in the middle of the screen, above the game's window
// when there is one.
void OpenWindow(SBox* pBox, Window owner) {
    Display* pDisplay = pBox->pDisplay;
    const int iScreen = DefaultScreen(pDisplay);
    pBox->window = XCreateSimpleWindow(pDisplay, RootWindow(pDisplay, iScreen),
                                       (DisplayWidth(pDisplay, iScreen) - pBox->iWidth) / 2,
                                       (DisplayHeight(pDisplay, iScreen) - pBox->iHeight) / 2, pBox->iWidth,
                                       pBox->iHeight, 1, BlackPixel(pDisplay, iScreen), WhitePixel(pDisplay, iScreen));
    XStoreName(pDisplay, pBox->window, "Error");
    XSizeHints* pHints = XAllocSizeHints();
    pHints->flags = PPosition | PMinSize | PMaxSize;
    pHints->min_width = pHints->max_width = pBox->iWidth;
    pHints->min_height = pHints->max_height = pBox->iHeight;
    XSetWMNormalHints(pDisplay, pBox->window, pHints);
    XFree(pHints);
    if (owner != None) {
        XSetTransientForHint(pDisplay, pBox->window, owner);
    }
    pBox->deleteWindow = XInternAtom(pDisplay, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(pDisplay, pBox->window, &pBox->deleteWindow, 1);
    Atom modal = XInternAtom(pDisplay, "_NET_WM_STATE_MODAL", False);
    XChangeProperty(pDisplay, pBox->window, XInternAtom(pDisplay, "_NET_WM_STATE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&modal), 1);
    XSelectInput(pDisplay, pBox->window, ExposureMask | KeyPressMask | ButtonReleaseMask);
    XMapRaised(pDisplay, pBox->window);
}

// Waits, on the box's own connection, for what dismisses it.
void RunUntilDismissed(const SBox& box) {
    for (;;) {
        XEvent event;
        XNextEvent(box.pDisplay, &event);
        if (event.type == Expose && event.xexpose.count == 0) {
            Draw(box);
        } else if ((event.type == KeyPress && IsDismissKey(&event.xkey)) ||
                   (event.type == ButtonRelease && InButton(box, event.xbutton.x, event.xbutton.y)) ||
                   (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == box.deleteWindow)) {
            return;
        }
    }
}

}  // namespace

void ShowErrorBox(const char* szText, const char* szDisplay) {
    // A connection of the box's own: the toolkit's events stay queued for it
    // untouched, and none of the game's callbacks can run meanwhile.
    Display* pGameDisplay = glXGetCurrentDisplay();
    const Window owner = pGameDisplay != nullptr ? glXGetCurrentDrawable() : None;
    if (szDisplay == nullptr && pGameDisplay != nullptr) {
        szDisplay = DisplayString(pGameDisplay);
    }
    SBox box = {};
    box.pDisplay = XOpenDisplay(szDisplay);
    if (box.pDisplay == nullptr) {
        return;
    }
    box.gc = DefaultGC(box.pDisplay, DefaultScreen(box.pDisplay));
    box.pFont = XQueryFont(box.pDisplay, XGContextFromGC(box.gc));
    if (box.pFont == nullptr) {
        XCloseDisplay(box.pDisplay);
        return;
    }
    box.Lines = SplitLines(szText);
    Layout(&box);
    OpenWindow(&box, owner);
    RunUntilDismissed(box);
    XFreeFontInfo(nullptr, box.pFont, 1);
    XDestroyWindow(box.pDisplay, box.window);
    XCloseDisplay(box.pDisplay);
}

const char* FindDisplayOption(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-display") == 0) {
            return argv[i + 1];
        }
    }
    return nullptr;
}
