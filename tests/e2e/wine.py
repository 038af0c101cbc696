"""kov.exe under Wine, played with real input, against the Linux game drawing the same data.
Usage, with absolute paths:  wine.py play|missing_level WINE_SH KOV_EXE SOURCE_DIR LINUX_KOV"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e import LEVEL, ball, close_box  # noqa: E402
from kovgame import Game, drag_args, panel_shown, wait_for  # noqa: E402

MISSING = "data/start.bmp"
MESSAGE = "Error: Failed to open DIB file %s.\n" % MISSING
# Channel steps of more than this count as a differing pixel; the pictures may differ in no more pixels.
TOLERANCE, MAX_DIFFERING = 2, 0


def prepare(szDir):
    with open(os.path.join(szDir, "data/field.txt"), "w") as level:
        level.write(LEVEL)
    os.remove(os.path.join(szDir, MISSING))


# Wine hands the X display's name on to the program as DISPLAY, which freeglut for Windows takes for the name
# of a Windows display device; its warning that there is none is Wine's alone.
WINE_DISPLAY_WARNING = re.compile(r"freeglut \(.*\): fgPlatformInitialize: CreateDC failed.*\n.*'-display' parameter\n")


def printed(game):
    """stderr with Windows' line ends as Linux writes them."""
    return WINE_DISPLAY_WARNING.sub("", game.printed().replace("\r\n", "\n"))


def wait_box(game, szPrinted):
    """The error box that shows once stderr holds szPrinted."""
    return wait_for(lambda: game.running() and printed(game) == szPrinted and
                    game.xdotool("search", "--onlyvisible", "--name", "^Error$").split(), "the error box")[0]


def start_picture(game):
    """The box of the missing texture closed with Return, then the picture once the box has gone and the
    ball is drawn, the same in two screenshots running."""
    close_box(game, wait_box(game, MESSAGE), ["key", "Return"])
    wait_for(lambda: not game.xdotool("search", "--onlyvisible", "--name", "^Error$"), "the box to close")
    # Wine maps windows of its own beside the game's: the game's is the one with its title.
    game.window = game.xdotool("search", "--sync", "--onlyvisible", "--name", "^KOV Arbeit$").split()[0]
    game.xdotool("windowfocus", game.window)
    pictures = [b""]

    def still(picture):
        bStill = ball(picture) and picture == pictures[-1]
        pictures.append(picture)
        return bStill and picture
    return game.wait_picture(still, "a still picture")


def differing(picture, reference):
    assert len(picture) == len(reference), "pictures of %d and %d bytes" % (len(picture), len(reference))
    iHeader = len(picture) - 1024 * 768 * 3
    return sum(max(abs(a - b) for a, b in zip(picture[i:i + 3], reference[i:i + 3])) > TOLERANCE
               for i in range(iHeader, len(picture), 3))


def case_play(szWine, szExe, szSourceDir, szLinuxGame):
    with Game([szLinuxGame], szSourceDir, prepare) as linux:
        reference = start_picture(linux)
        linux.quit()
    with Game([szWine, szExe], szSourceDir, prepare) as game:
        picture = start_picture(game)
        szWindow = game.xdotool("getwindowname", game.window, "getwindowgeometry", "--shell", game.window)
        assert szWindow.startswith("KOV Arbeit\nWINDOW=") and "WIDTH=1024\nHEIGHT=768\n" in szWindow, szWindow
        iDiffering = differing(picture, reference)
        print("start picture: %d pixels differ from Linux's by more than %d" % (iDiffering, TOLERANCE))
        assert iDiffering <= MAX_DIFFERING, "%d pixels differ from the Linux game's picture" % iDiffering
        x0, y0, fRadius = ball(picture)
        game.xdotool("key", "F1")
        game.wait_picture(panel_shown, "the panel after F1")
        game.xdotool("key", "F1")
        game.wait_picture(lambda p: p == picture, "the picture as before F1 after F1 again")
        # Shift+Left moves the centre left: the resting ball, with the board, moves right.
        game.xdotool("key", *["shift+Left"] * 20)
        x0 = game.wait_picture(lambda p: (b := ball(p)) and b[0] > x0 + 30 and b, "Shift+Left to move the view")[0]
        game.xdotool("key", *["Down"] * 20)
        game.wait_picture(lambda p: (b := ball(p)) and b[1] > y0 + fRadius, "the ball to roll down after Down")
        # 200 pixels of left drag to the right tilt about z as far as Right would.
        game.xdotool(*drag_args(1, [(400 + 20 * i, 700) for i in range(11)]))
        game.wait_picture(lambda p: (b := ball(p)) and b[0] > x0 + fRadius, "the ball to roll right after a drag")
        # With Caps Lock on, and Shift up again, the arrows tilt.
        game.xdotool("key", "Caps_Lock", *["Left"] * 40)
        game.wait_picture(lambda p: (b := ball(p)) and b[0] < x0 - fRadius, "the ball to roll left after Left")
        game.xdotool("key", "Caps_Lock")
        game.quit()
        assert printed(game) == MESSAGE, "stderr %r" % game.printed()


def case_missing_level(szWine, szExe, *_):
    with Game([szWine, szExe]) as game:  # in an empty directory
        box = wait_box(game, "kov: cannot read the level file data/field.txt: No such file or directory\n")
        close_box(game, box, ["key", "Return"])
        wait_for(lambda: game.proc.poll() is not None, "the game to end after its box")
        assert game.proc.returncode == 1, "status %s after the box" % game.proc.returncode


if __name__ == "__main__":
    try:
        globals()["case_" + sys.argv[1]](*sys.argv[2:])
    except AssertionError as failure:
        sys.exit("FAILED %s: %s" % (sys.argv[1], failure))
    print("passed %s" % sys.argv[1])
