"""End-to-end tests of the real game. Usage, with absolute paths:
e2e.py play|missing_level|install GAME SOURCE_DIR BUILD_DIR CMAKE CPACK
e2e.py soak HEAP_COUNTING_GAME SOURCE_DIR SECONDS   (KOV_SOAK_SEED=n repeats a soak)"""

import glob
import math
import os
import random
import re
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kovgame import TIMEOUT, Game, drag_args, find, fps_shown, panel_shown, wait_for  # noqa: E402

# Open floor with the start in the middle: the ball rolls wherever the board tilts.
LEVEL = "9\n9\n" + ".........\n" * 4 + "....S....\n" + ".........\n" * 4
BOARD = (256, 192, 768, 640)  # the window's pixels around the box


def ball(picture):
    """Centre and radius in pixels of the ball, or None."""
    # Orange: the lit wood has about half as much blue as red.
    found = find(picture, lambda r, g, b: r > 60 and b < 0.25 * r, BOARD)
    n = len(found)
    return n > 100 and (sum(x for x, y in found) / n, sum(y for x, y in found) / n, math.sqrt(n / math.pi))


def case_play(szGame, szSourceDir, *_):
    """The window, the missing start texture, F1, F, an arrow, a drag and Escape, in one session."""
    def prepare(szDir):
        with open(os.path.join(szDir, "data/field.txt"), "w") as level:
            level.write(LEVEL)
        os.remove(os.path.join(szDir, "data/start.bmp"))
    with Game([szGame], szSourceDir, prepare) as game:
        window = game.wait_window()
        szWindow = game.xdotool("getwindowname", window, "getwindowgeometry", "--shell", window)
        assert szWindow.startswith("KOV Arbeit\nWINDOW=%s\nX=0\nY=0\nWIDTH=1024\nHEIGHT=768\n" % window), szWindow
        x0, y0, fRadius = game.wait_picture(ball, "the ball on the board")
        assert game.printed() == "Error: Failed to open DIB file data/start.bmp.\n", "stderr %r" % game.printed()
        before = game.screenshot()  # the ball lies still on the level board
        game.xdotool("key", "F1")
        game.wait_picture(panel_shown, "the panel after F1")
        game.xdotool("key", "F1")
        game.wait_picture(lambda p: p == before, "the picture as before F1 after F1 again")
        game.xdotool("key", "f")
        game.wait_picture(fps_shown, "the frame rate in the top right after F")
        # 2 degrees about x: the ball rolls towards the viewer, down the window.
        game.xdotool("key", *["Down"] * 20)
        game.wait_picture(lambda p: (b := ball(p)) and b[1] > y0 + fRadius, "the ball to roll down after Down")
        # 200 pixels of left drag to the right tilt about z as far as Right would.
        game.xdotool(*drag_args(1, [(400 + 20 * i, 700) for i in range(11)]))
        game.wait_picture(lambda p: (b := ball(p)) and b[0] > x0 + fRadius, "the ball to roll right after a drag")
        game.xdotool("key", "f")
        game.wait_picture(lambda p: not fps_shown(p), "the frame rate to go after F again")
        game.quit()
        assert game.printed(bStdout=True) == "", "stdout %r" % game.printed(bStdout=True)


def case_missing_level(szGame, *_):
    # No data/ and no X display: had the game gone on to its window, the
    # toolkit would have added its complaint about the display.
    with tempfile.TemporaryDirectory() as szDir:
        result = subprocess.run([szGame], cwd=szDir, env=dict(os.environ, DISPLAY=""), capture_output=True,
                                text=True, timeout=TIMEOUT)
    assert result.returncode == 1, "exit status %s" % result.returncode
    assert result.stdout == "", "stdout %r" % result.stdout
    lines = result.stderr.splitlines()
    assert len(lines) == 1 and "data/field.txt" in lines[0] and "No such file or directory" in lines[0], \
        "stderr %r, not one line naming data/field.txt and why" % result.stderr


def run(*args):
    result = subprocess.run(args, capture_output=True, text=True, timeout=TIMEOUT * 3)
    assert result.returncode == 0, "%s failed: %s%s" % (" ".join(args), result.stdout, result.stderr)
    return result.stdout


def case_install(szGame, szSourceDir, szBuildDir, szCmake, szCpack):
    with tempfile.TemporaryDirectory() as szPrefix:
        run(szCmake, "--install", szBuildDir, "--prefix", szPrefix)
        # From an empty directory; the game would say so if it missed the level or a texture.
        with Game([os.path.join(szPrefix, "bin/kov-play")]) as game:
            game.wait_window()
            game.wait_drawn()
            game.quit()
            assert game.printed() == "", "the installed game wrote %r" % game.printed()
        run(szCpack, "-G", "DEB", "-B", szPrefix, "--config", os.path.join(szBuildDir, "CPackConfig.cmake"))
        packages = glob.glob(os.path.join(szPrefix, "*.deb"))
        assert len(packages) == 1, "cpack built %s" % packages
        szContents = run("dpkg-deb", "-c", packages[0])
        for szPath in ("/usr/bin/kov-play", "/usr/libexec/kov/kov", "/usr/share/kov/data/field.txt"):
            assert " ." + szPath + "\n" in szContents, "the package lacks %s" % szPath
        assert "libglut" in run("dpkg-deb", "-f", packages[0], "Depends"), "no freeglut in Depends"


# As xdotool names them: both cases of the letters, and two unbound keys.
KEYS = ("plus minus z l w 0 d s t f v p 1 2 3 4 j m n comma J M N semicolon y Y A a i Z L W D S T F V P I F1 x "
        "question".split() + [szShift + szKey for szShift in ("", "shift+", "ctrl+shift+")
                    for szKey in ("Left", "Right", "Up", "Down", "Prior", "Next", "Home", "End", "Insert")])
HOLDS = ["Left", "Right", "Up", "Down", "Home", "End", "j", "m", "n", "comma", "J", "M"]
REPORT = re.compile(r"heap count: (\d+) live blocks")


def random_action(rng):
    """xdotool arguments of one random key press, hold, drag or pause."""
    fRoll, szKey = rng.random(), rng.choice(HOLDS)
    if fRoll < 0.6:
        return ["key", rng.choice(KEYS)]
    if fRoll < 0.75:
        return ["keydown", szKey, "sleep", "%.2f" % rng.uniform(0.1, 1.2), "keyup", szKey]
    if fRoll < 0.9:
        return drag_args(rng.choice((1, 2, 3)), [(rng.randrange(1024), rng.randrange(768)) for _ in range(4)])
    return ["sleep", "%.2f" % rng.uniform(0.05, 0.3)]


def play(game, rng, fSeconds):
    fEnd, iActions = time.monotonic() + fSeconds, 0
    while time.monotonic() < fEnd and game.running():
        game.xdotool(*random_action(rng))
        iActions += 1
    return iActions


def live_blocks(game):
    """The game's count, which it writes at its next buffer swap after the signal."""
    iReports = len(REPORT.findall(game.printed()))
    game.proc.send_signal(signal.SIGUSR1)
    return int(wait_for(lambda: REPORT.findall(game.printed())[iReports:], "the heap count")[0])


def case_soak(szGame, szSourceDir, szSeconds):
    """Random presses, holds and drags of every binding but Escape must not grow
    the blocks that the game's own code holds, read after a warm-up and at the end."""
    iSeed = int(os.environ.get("KOV_SOAK_SEED") or random.SystemRandom().randrange(1 << 31))
    fSeconds, rng = float(szSeconds), random.Random(iSeed)
    print("soak: %.0f s of random input, seed %d (KOV_SOAK_SEED)" % (fSeconds, iSeed), flush=True)
    with Game([szGame], szSourceDir) as game:
        game.wait_window()
        game.wait_drawn()
        # Warm-up: every binding, then random play, so that what the game keeps
        # from a first use is there before the first reading.
        game.xdotool("key", "--delay", "20", *KEYS)
        for iButton in (1, 2, 3):
            game.xdotool(*drag_args(iButton, [(500, 400), (520, 410)]))
        play(game, rng, fSeconds / 5)
        iBefore = live_blocks(game)
        iActions = play(game, rng, fSeconds * 4 / 5)
        iAfter = live_blocks(game)
        print("soak: %d live blocks of the game's own before %d actions, %d after" % (iBefore, iActions, iAfter))
        assert iBefore > 0, "the count misses the game's blocks"
        assert iAfter <= iBefore, "the game's live heap grew by %d blocks" % (iAfter - iBefore)
        game.quit()


if __name__ == "__main__":
    try:
        globals()["case_" + sys.argv[1]](*sys.argv[2:])
    except AssertionError as failure:
        sys.exit("FAILED %s: %s" % (sys.argv[1], failure))
    print("passed %s" % sys.argv[1])
