"""End-to-end tests of the real game.
Usage: e2e.py CASE GAME SOURCE_DIR BUILD_DIR CMAKE CPACK   (CASE: play, missing_level, install)"""

import glob
import math
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kovgame import TIMEOUT, Failure, Game, check, drag_args  # noqa: E402

# Open floor with the start in the middle: the ball rolls wherever the board tilts.
LEVEL = "9\n9\n" + ".........\n" * 4 + "....S....\n" + ".........\n" * 4
BOARD = (256, 192, 768, 640)  # the window's pixels around the box
CORNER = (920, 0, 1024, 30)  # where the frame rate belongs


def is_ball(r, g, b):
    return r > 60 and b < 0.25 * r  # orange; the lit wood has about half as much blue as red


def is_blue(r, g, b):
    return b > 150 and r < 80 and g < 80


def ball(picture):
    """Centre and radius in pixels of the ball, or None."""
    found = picture.find(is_ball, BOARD)
    if len(found) < 100:
        return None
    return (sum(x for x, y in found) / len(found), sum(y for x, y in found) / len(found),
            math.sqrt(len(found) / math.pi))


def case_play(szGame, szSourceDir, *_):
    """One session: the window, the missing start texture, F, an arrow, a drag, Escape."""
    def prepare(szDir):
        with open(os.path.join(szDir, "data/field.txt"), "w") as level:
            level.write(LEVEL)
        os.remove(os.path.join(szDir, "data/start.bmp"))
    with Game([szGame], szSourceDir, prepare) as game:
        window = game.wait_window()
        check(game.xdotool("getwindowname", window) == "KOV Arbeit\n", "title %r" % game.xdotool("getwindowname", window))
        geometry = game.xdotool("getwindowgeometry", "--shell", window).split()[1:5]
        check(geometry == ["X=0", "Y=0", "WIDTH=1024", "HEIGHT=768"], "window at %s" % geometry)
        first = game.wait_picture(lambda p: ball(p) and p, "the ball on the board")
        x0, y0, fRadius = ball(first)
        check(game.stderr() == "Error: Failed to open DIB file data/start.bmp.\n", "stderr %r" % game.stderr())
        check(not first.find(is_blue, CORNER), "the frame rate shows before F")

        game.xdotool("key", "f")
        shown = game.wait_picture(lambda p: len(p.find(is_blue, CORNER)) > 30 and p, "the frame rate after F")
        check(len(shown.find(is_blue, (0, 0, 1024, 768))) == len(shown.find(is_blue, CORNER)),
              "blue pixels away from the top right corner")
        # 2 degrees about x and the ball rolls towards the viewer, down the window.
        game.xdotool("key", *["Down"] * 20)
        game.wait_picture(lambda p: (b := ball(p)) and b[1] > y0 + fRadius, "the ball to roll down after Down")
        # 200 pixels of left drag to the right tilt about z, as far as Right would.
        game.xdotool(*drag_args(1, [(400 + 20 * i, 700) for i in range(11)]))
        game.wait_picture(lambda p: (b := ball(p)) and b[0] > x0 + fRadius, "the ball to roll right after a drag")
        game.xdotool("key", "f")
        game.wait_picture(lambda p: not p.find(is_blue, CORNER), "the frame rate to go after F again")
        game.quit()
        check(game.stdout() == "", "stdout %r" % game.stdout())


def case_missing_level(szGame, *_):
    # No data/ and no X display: a game that went on to open its window would
    # add the toolkit's complaint about the display.
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    with tempfile.TemporaryDirectory() as szDir:
        result = subprocess.run([szGame], cwd=szDir, env=env, capture_output=True, text=True, timeout=TIMEOUT)
    check(result.returncode == 1, "exit status %s" % result.returncode)
    check(result.stdout == "", "stdout %r" % result.stdout)
    lines = result.stderr.splitlines()
    check(len(lines) == 1 and "data/field.txt" in lines[0] and "No such file or directory" in lines[0],
          "stderr %r: one line naming data/field.txt and why expected" % result.stderr)


def run(*args):
    result = subprocess.run(args, capture_output=True, text=True, timeout=TIMEOUT * 3)
    check(result.returncode == 0, "%s failed: %s%s" % (" ".join(args), result.stdout, result.stderr))
    return result.stdout


def case_install(szGame, szSourceDir, szBuildDir, szCmake, szCpack):
    with tempfile.TemporaryDirectory() as szPrefix:
        run(szCmake, "--install", szBuildDir, "--prefix", szPrefix)
        # From an empty directory: the launcher finds the level and all six textures, or stderr says so.
        with Game([os.path.join(szPrefix, "bin/kov-play")]) as game:
            game.wait_window()
            game.wait_drawn()
            game.quit()
            check(game.stderr() == "", "the installed game wrote %r" % game.stderr())
        run(szCpack, "-G", "DEB", "-B", szPrefix, "--config", os.path.join(szBuildDir, "CPackConfig.cmake"))
        packages = glob.glob(os.path.join(szPrefix, "*.deb"))
        check(len(packages) == 1, "cpack built %s" % packages)
        szContents = run("dpkg-deb", "-c", packages[0])
        for szPath in ("/usr/bin/kov-play", "/usr/libexec/kov/kov", "/usr/share/kov/data/field.txt"):
            check(" ." + szPath + "\n" in szContents, "the package lacks %s" % szPath)
        check("libglut" in run("dpkg-deb", "-f", packages[0], "Depends"), "the package does not depend on freeglut")


if __name__ == "__main__":
    try:
        globals()["case_" + sys.argv[1]](*map(os.path.abspath, sys.argv[2:]))
    except Failure as failure:
        sys.exit("FAILED %s: %s" % (sys.argv[1], failure))
    print("passed %s" % sys.argv[1])
