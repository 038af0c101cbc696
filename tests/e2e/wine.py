"""kov.exe under Wine, played with real input, against the Linux game drawing the same data.
Usage, with absolute paths:  wine.py play|missing_level WINE_SH KOV_EXE SOURCE_DIR LINUX_KOV
                             wine.py imports OBJDUMP PROGRAM.exe..."""

import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e import LEVEL, ball, close_box, steer  # noqa: E402
from kovgame import Game, run_case, wait_for  # noqa: E402

MESSAGE = "Error: Failed to open DIB file data/start.bmp.\n"


def prepare(szDir):
    os.remove(os.path.join(szDir, "data/start.bmp"))
    with open(os.path.join(szDir, "data/field.txt"), "w") as level:
        level.write(LEVEL)


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


def game_window(game):
    """The game's window, once shown, focused: Wine maps windows of its own beside it."""
    game.window = game.xdotool("search", "--sync", "--onlyvisible", "--name", "^KOV Arbeit$").split()[0]
    game.xdotool("windowfocus", game.window)


def start_picture(game):
    """The missing texture's box closed by Return, then, once it has gone, a still picture with the ball."""
    close_box(game, wait_box(game, MESSAGE), ["key", "Return"])
    wait_for(lambda: not game.xdotool("search", "--onlyvisible", "--name", "^Error$"), "the box to close")
    game_window(game)
    pictures = [b""]
    return game.wait_picture(lambda p: (ball(p) and p == pictures[-1] and p) or pictures.append(p), "a still picture")


def case_play(szWine, szExe, szSourceDir, szLinuxGame):
    with Game([szLinuxGame], szSourceDir, prepare) as linux:
        reference = start_picture(linux)
        linux.quit()
    with Game([szWine, szExe], szSourceDir, prepare) as game:
        picture = start_picture(game)
        szWindow = game.xdotool("getwindowname", game.window, "getwindowgeometry", "--shell", game.window)
        assert szWindow.startswith("KOV Arbeit\nWINDOW=") and "WIDTH=1024\nHEIGHT=768\n" in szWindow, szWindow
        # The same renderer draws both: not one byte differs.
        iDiffering = sum(a != b for a, b in zip(picture, reference)) + abs(len(picture) - len(reference))
        assert iDiffering == 0, "%d bytes differ from the Linux game's picture" % iDiffering
        steer(game, picture)
        game.quit()
        assert printed(game) == MESSAGE, "stderr %r" % game.printed()


def case_missing_level(szWine, szExe, *_):
    with Game([szWine, szExe]) as game:  # in an empty directory
        box = wait_box(game, "kov: cannot read the level file data/field.txt: No such file or directory\n")
        close_box(game, box, ["key", "Return"])
        wait_for(lambda: game.proc.poll() is not None, "the game to end after its box")
        assert game.proc.returncode == 1, "status %s after the box" % game.proc.returncode


# Every Windows has these; a toolchain DLL missing beside a program stops it before main without a word.
SYSTEM_DLLS = {"ADVAPI32", "GDI32", "GLU32", "KERNEL32", "MSVCRT", "OPENGL32", "SHLWAPI", "USER32", "WINMM"}


def case_imports(szObjdump, *programs):
    for szProgram in programs:
        dump = subprocess.run([szObjdump, "-p", szProgram], capture_output=True, text=True, check=True).stdout
        dlls = {szName.upper() for szName in re.findall(r"DLL Name: (\S+)\.dll", dump, re.I)}
        assert dlls and dlls <= SYSTEM_DLLS, "%s imports %s" % (szProgram, sorted(dlls - SYSTEM_DLLS) or "nothing")


if __name__ == "__main__":
    run_case(globals())
