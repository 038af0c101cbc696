"""End-to-end tests of the real game. Usage, with absolute paths:
e2e.py play|missing_level|install GAME SOURCE_DIR BUILD_DIR CMAKE CPACK
e2e.py soak HEAP_COUNTING_GAME SOURCE_DIR SECONDS   (KOV_SOAK_SEED=n repeats a soak)"""

import glob
import math
import os
import random
import re
import signal
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kovgame import TIMEOUT, Game, drag_args, find, fps_shown, panel_shown, red_marker, run_case, wait_for  # noqa: E402

# Open floor with the start in the middle: the ball rolls wherever the board tilts.
LEVEL = "9\n9\n" + ".........\n" * 4 + "....S....\n" + ".........\n" * 4
BOARD = (0, 0, 1024, 768)  # the window: a board is framed to fill it


def ball(picture):
    """Centre and radius in pixels of the ball, or None."""
    # Orange: the lit wood has about half as much blue as red.
    found = find(picture, lambda r, g, b: r > 60 and b < 0.25 * r, BOARD)
    n = len(found)
    return n > 100 and (sum(x for x, y in found) / n, sum(y for x, y in found) / n, math.sqrt(n / math.pi))


# Three bad textures in slot order: what each holds (None: a FIFO no one writes to, which would hold the game
# for ever), its message, and what closes its box.
BAD_TEXTURES = (("wall.bmp", b"BM", "Image file conversion error.", ["key", "Return"]),
                ("start.bmp", None, "Failed to open DIB file data/start.bmp: it is not a regular file.",
                 ["key", "space"]),
                ("save.bmp", b"XXXXXXXX", "Unknown DIB file format.", None))  # None: a click on OK


def close_box(game, box, dismiss):
    game.xdotool("windowfocus", box)
    if dismiss is None:
        # OK sits centred, 16 pixels above the box's bottom edge, 26 high.
        geometry = dict(line.split("=") for line in game.xdotool("getwindowgeometry", "--shell", box).split())
        dismiss = ["mousemove", str(int(geometry["X"]) + int(geometry["WIDTH"]) // 2),
                   str(int(geometry["Y"]) + int(geometry["HEIGHT"]) - 29), "click", "1"]
    game.xdotool(*dismiss)


def steer(game, still):
    """From a still picture of the ball at rest: F1 shows the panel and F1 again gives back the picture,
    Shift+Left moves the view, and Down, a left drag to the right and Left with Caps Lock on roll the ball."""
    x0, y0, fRadius = ball(still)
    game.xdotool("key", "F1")
    game.wait_picture(panel_shown, "the panel after F1")
    game.xdotool("key", "F1")
    game.wait_picture(lambda p: p == still, "the picture as before F1 after F1 again")
    # Shift+Left moves the centre left: the resting ball, with the board, moves right.
    game.xdotool("key", *["shift+Left"] * 20)
    x0 = game.wait_picture(lambda p: (b := ball(p)) and b[0] > x0 + 30 and b, "Shift+Left to move the view")[0]
    # 2 degrees about x: the ball rolls towards the viewer, down the window.
    game.xdotool("key", *["Down"] * 20)
    game.wait_picture(lambda p: (b := ball(p)) and b[1] > y0 + fRadius, "the ball to roll down after Down")
    # 200 pixels of left drag to the right tilt about z as far as Right would.
    game.xdotool(*drag_args(1, [(400 + 20 * i, 700) for i in range(11)]))
    game.wait_picture(lambda p: (b := ball(p)) and b[0] > x0 + fRadius, "the ball to roll right after a drag")
    # With Caps Lock on, and Shift up again, the arrows tilt.
    game.xdotool("key", "Caps_Lock", *["Left"] * 40)
    game.wait_picture(lambda p: (b := ball(p)) and b[0] < x0 - fRadius, "the ball to roll left after Left")
    game.xdotool("key", "Caps_Lock")


def case_play(szGame, szSourceDir, *_):
    """The bad textures' boxes, the window, F2 with a light's keys, F, then steer, and Escape, in one."""
    def prepare(szDir):
        with open(os.path.join(szDir, "data/field.txt"), "w") as level:
            level.write(LEVEL)
        for szFile, bytes_, *_ in BAD_TEXTURES:
            os.remove(os.path.join(szDir, "data", szFile))
            if not bytes_:
                os.mkfifo(os.path.join(szDir, "data", szFile))
            else:
                with open(os.path.join(szDir, "data", szFile), "wb") as texture:
                    texture.write(bytes_)
    with Game([szGame], szSourceDir, prepare) as game:
        # One box a message, in order; the game draws nothing while one shows.
        szMessages = ""
        for i, (_, _, szMessage, dismiss) in enumerate(BAD_TEXTURES):
            szMessages += "Error: %s\n" % szMessage
            box = game.wait_box(i + 1)
            assert game.printed() == szMessages, "stderr %r with box %d" % (game.printed(), i + 1)
            game.window = game.xdotool("search", "--onlyvisible", "--name", "^KOV Arbeit$").split()[0]
            assert not find(game.screenshot(), lambda *rgb: max(rgb) > 24, (492, 364, 532, 404)), "drawn behind a box"
            close_box(game, box, dismiss)
        window = game.wait_window()
        szWindow = game.xdotool("getwindowname", window, "getwindowgeometry", "--shell", window)
        assert szWindow.startswith("KOV Arbeit\nWINDOW=%s\nX=0\nY=0\nWIDTH=1024\nHEIGHT=768\n" % window), szWindow
        game.wait_picture(ball, "the ball on the board")
        assert game.printed() == szMessages, "stderr %r" % game.printed()
        before = game.screenshot()  # the ball lies still on the level board
        # The red light, off, moved over the board; F2 shows its hollow marker, which follows its keys.
        game.xdotool("key", "2", *["n"] * 95, *["j"] * 75, "F2")
        x1 = game.wait_picture(red_marker, "the red light's marker after F2")[0]
        game.xdotool("key", *["comma"] * 10)
        game.wait_picture(lambda p: (m := red_marker(p)) and m[0] > x1 + 15, "the red marker to move right")
        game.xdotool("key", "F2")
        game.wait_picture(lambda p: p == before, "the picture as before F2 after F2 again")
        game.xdotool("key", "f")
        game.wait_picture(fps_shown, "the frame rate in the top right after F")
        game.xdotool("key", "f")
        steer(game, game.wait_picture(lambda p: not fps_shown(p) and p, "the frame rate to go after F again"))
        game.quit()
        assert game.printed(bStdout=True) == "", "stdout %r" % game.printed(bStdout=True)
    with Game([szGame, "-geometry", "640x480+10+20"], szSourceDir) as game:  # the toolkit's options win
        szWindow = game.xdotool("getwindowgeometry", "--shell", game.wait_window())
        assert "X=10\nY=20\nWIDTH=640\nHEIGHT=480\n" in szWindow, szWindow
        game.quit()


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
    # With a FIFO as the level, which would hold the game for ever, and the display named only by -display,
    # its line comes in a box there, and status 1 after it.
    with Game([szGame], None, lambda szDir: os.mkdir(szDir + "/data") or os.mkfifo(szDir + "/data/field.txt"),
              bDisplayOption=True) as game:
        box = game.wait_box(1)
        assert game.printed() == result.stderr.replace("No such file or directory", "it is not a regular file") \
            and game.windows() - game.before == {box}, game.printed()
        close_box(game, box, ["key", "Escape"])
        wait_for(lambda: game.proc.poll() is not None, "the game to end after its box")
        assert game.proc.returncode == 1, "status %s after the box" % game.proc.returncode


def run(*args, bQuiet=False):
    """stdout of a command that must succeed, and with bQuiet say nothing on stderr."""
    result = subprocess.run(args, capture_output=True, text=True, timeout=TIMEOUT * 3)
    assert result.returncode == 0 and not (bQuiet and result.stderr), "%s failed: %s%s" % (
        " ".join(args), result.stdout, result.stderr)
    return result.stdout


def check_desktop_files(szShare):
    """The menu entry, the metadata, the icons and the manual pages below share/."""
    run("desktop-file-validate", *glob.glob(os.path.join(szShare, "applications/*.desktop")), bQuiet=True)
    run("appstreamcli", "validate", "--no-net", *glob.glob(os.path.join(szShare, "metainfo/*.xml")))
    for iSize in (48, 64, 128, 256):
        icons = glob.glob(os.path.join(szShare, "icons/hicolor/%dx%d/apps/*.png" % (iSize, iSize)))
        assert len(icons) == 1, "icons of %d pixels: %s" % (iSize, icons)
        with open(icons[0], "rb") as icon:
            assert icon.read(24)[16:] == struct.pack(">II", iSize, iSize), "%s is not %d pixels" % (icons[0], iSize)
    for szPage in ("kov-play", "kov-level-check"):
        run("man", "--warnings", "-l", "-Tutf8", "-Z", os.path.join(szShare, "man/man6/%s.6.gz" % szPage), bQuiet=True)


# A level of the player's own that the checker calls unplayable: it starts all the same.
NO_GOAL = "6\n4\nS.....\n..O...\n......\n......\n"


def play_level(command, szTmp, fnEnd=Game.quit):
    """Plays through the launcher until the board shows, then fnEnd(game), by default Escape: the board's
    width in pixels along the middle row, what the launcher wrote on stderr, and the level its private
    directory held."""
    with Game(command) as game:
        game.wait_window()
        xs = [x for x, _ in find(game.wait_drawn(), lambda *rgb: max(rgb) > 24, (0, 384, 1024, 385))]
        entries = os.listdir(szTmp)
        assert len(entries) == 1, "private directories: %s" % entries
        with open(os.path.join(szTmp, entries[0], "data/field.txt")) as level:
            szLevel = level.read()
        fnEnd(game)
        assert os.listdir(szTmp) == [], "the private directory outlives the game"
        return max(xs) - min(xs), game.printed(), szLevel


def end_by_signal(fnSignal, iStatus):
    """An end for play_level: fnSignal(launcher's pid, game's pid), then status iStatus with the game gone."""
    def end(game):
        szGame = open("/proc/%d/task/%d/children" % (game.proc.pid, game.proc.pid)).read().split()[0]
        fnSignal(game.proc.pid, int(szGame))
        wait_for(lambda: game.proc.poll() is not None, "the launcher to end")
        assert game.proc.returncode == iStatus and not os.path.exists("/proc/" + szGame), \
            "status %s, game %s left" % (game.proc.returncode, szGame)
    return end


def case_install(szGame, szSourceDir, szBuildDir, szCmake, szCpack):
    with tempfile.TemporaryDirectory() as szPrefix:
        # A plain install's manifest, which a user uninstalls from, stays as it was: the component's is another.
        manifest = [os.stat(m).st_mtime_ns for m in glob.glob(os.path.join(szBuildDir, "install_manifest.txt"))]
        run(szCmake, "--install", szBuildDir, "--prefix", szPrefix, "--component", "Game")
        assert manifest == [os.stat(m).st_mtime_ns for m in glob.glob(os.path.join(szBuildDir, "install_manifest.txt"))]
        check_desktop_files(os.path.join(szPrefix, "share"))
        with open(os.path.join(szPrefix, "share/doc/kov/README.md")) as readme:
            pictures = re.findall(r"!\[[^]]*\]\(([^)]+)\)", readme.read())
        assert pictures and all(os.path.isfile(os.path.join(szPrefix, "share/doc/kov", p)) for p in pictures), pictures
        szPlay = os.path.join(szPrefix, "bin/kov-play")
        assert "usage: kov-play" in run(szPlay, "--help") and run(szPlay, "--version").endswith(" 1.0.0\n")
        for args, iStatus in ((["--help"], 0), (["--halp"], 2), (["-h"], 2), ([], 2)):
            check = subprocess.run([os.path.join(szPrefix, "bin/kov-level-check"), *args], capture_output=True,
                                   text=True)
            assert check.returncode == iStatus and (check.stderr or check.stdout).startswith("usage:"), args
        with open(os.path.join(szSourceDir, "data/levels/index.txt")) as index:
            names = [line.split()[0] for line in index if line.strip() and not line.startswith("#")]
        assert [line.split()[0] for line in run(szPlay, "--list").splitlines()] == names
        os.mkfifo(szFifo := os.path.join(szPrefix, "fifo"))
        for szLevel, szWhy in (("no-such-level", "no such level file"), (szFifo, "it is not a regular file"),
                               (szPrefix, "it is not a regular file")):
            refused = subprocess.run([szPlay, szLevel], capture_output=True, text=True, timeout=TIMEOUT)
            assert refused.returncode == 1 and len(refused.stderr.splitlines()) == 1 and szLevel + ": " + szWhy in \
                refused.stderr and not refused.stdout, "%s: %s %r" % (szLevel, refused.returncode, refused.stderr)
        unknown = subprocess.run([szPlay, "--no-such-option"], capture_output=True, text=True, timeout=TIMEOUT)
        assert unknown.returncode == 2 and unknown.stderr.startswith("usage: kov-play") and not unknown.stdout

        run(szCpack, "-G", "DEB", "-B", szPrefix, "--config", os.path.join(szBuildDir, "CPackConfig.cmake"))
        packages = glob.glob(os.path.join(szPrefix, "*.deb"))
        assert len(packages) == 1, "cpack built %s" % packages
        szContents = run("dpkg-deb", "-c", packages[0])
        for szPath in ("/usr/games/kov-play", "/usr/lib/games/kov/kov", "/usr/share/games/kov/data/field.txt",
                       "/usr/share/doc/kov/copyright", "/usr/share/doc/kov/changelog.gz"):
            assert " ." + szPath + "\n" in szContents, "the package lacks %s" % szPath
        assert "libglut" in run("dpkg-deb", "-f", packages[0], "Depends"), "no freeglut in Depends"
        # Fails on errors; its own temporary files stay in the scratch prefix.
        run("env", "TMPDIR=" + szPrefix, "lintian", packages[0])
        run("dpkg-deb", "-x", packages[0], os.path.join(szPrefix, "deb"))

        # From an empty directory: the shipped level, a file of the player's, a level of the set by name
        # from the package's tree, the largest of the set. Each board, of 20, 6, 12 and 100 cells across, is framed
        # alike, as wide as any other, and the far plane reaches beyond it.
        os.environ["TMPDIR"] = szTmp = os.path.join(szPrefix, "tmp")
        os.mkdir(szTmp)
        with open(os.path.join(szPrefix, "no-goal.txt"), "w") as level:
            level.write(NO_GOAL)
        widths = []
        for command, szFile, szErrors in (
                ([szPlay], os.path.join(szSourceDir, "data/field.txt"), ""),
                ([szPlay, os.path.join(szPrefix, "no-goal.txt")], os.path.join(szPrefix, "no-goal.txt"),
                 "error: no goal cell 'Z'\n"),
                ([os.path.join(szPrefix, "deb/usr/games/kov-play"), "first-tilt"],
                 os.path.join(szSourceDir, "data/levels/first-tilt.txt"), ""),
                ([szPlay, "maze-100"], os.path.join(szSourceDir, "data/levels/maze-100.txt"), "")):
            iWidth, szPrinted, szLevel = play_level(command, szTmp)
            with open(szFile) as level:
                assert szLevel == level.read(), "%s played %r" % (command, szLevel)
            assert szPrinted == szErrors, "%s wrote %r" % (command, szPrinted)
            widths.append(iWidth)
        assert max(widths) < 1.1 * min(widths), "the boards' widths in pixels: %s" % widths
        # A signal to the launcher reaches the game; a game killed is reported as a shell would.
        for fnEnd in (end_by_signal(lambda iPlay, _: os.kill(iPlay, signal.SIGTERM), 143),
                      end_by_signal(lambda _, iGame: os.kill(iGame, signal.SIGKILL), 137)):
            play_level([szPlay, "spiral"], szTmp, fnEnd)


# As xdotool names them: both cases of the letters, and two unbound keys.
KEYS = ("plus minus z l w 0 d s t f v p 1 2 3 4 j m n comma J M N semicolon y Y A a i Z L W D S T F V P I F1 F2 x "
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
    run_case(globals())
