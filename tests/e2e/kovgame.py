"""The real game under a private X server, in a scratch directory, played with
real input through XTEST (xdotool) and seen through screenshots (import)."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

TIMEOUT = 90.0  # seconds, for the sanitizer build on a loaded machine; waits end when their condition holds


def wait_for(fnCondition, szWhat):
    """Polls fnCondition until it returns a true value, which it returns."""
    fDeadline = time.monotonic() + TIMEOUT
    while not (result := fnCondition()):
        assert time.monotonic() < fDeadline, "timed out after %.0f s waiting for %s" % (TIMEOUT, szWhat)
        time.sleep(0.05)
    return result


def run_case(cases):
    """Runs the case function case_NAME of cases (a module's globals) that argv names: NAME ARG..."""
    try:
        cases["case_" + sys.argv[1]](*sys.argv[2:])
    except AssertionError as failure:
        sys.exit("FAILED %s: %s" % (sys.argv[1], failure))
    print("passed %s" % sys.argv[1])


def drag_args(iButton, points):
    """xdotool arguments that drag with iButton (1 left, 2 middle, 3 right) through points."""
    moves = [["mousemove", str(x), str(y)] for x, y in points]
    return moves[0] + ["mousedown", str(iButton)] + sum(moves[1:], []) + ["mouseup", str(iButton)]


def find(picture, fnTest, box):
    """(x, y) of the pixels in box (x0, y0, x1, y1) of a PPM picture whose red, green and blue pass fnTest."""
    match = re.match(rb"P6\s(\d+)\s\d+\s255\s", picture)
    iWidth, (x0, y0, x1, y1), found = int(match[1]), box, []
    for y in range(y0, y1):
        row = picture[match.end() + (y * iWidth + x0) * 3:match.end() + (y * iWidth + x1) * 3]
        found += [(x0 + i // 3, y) for i in range(0, len(row), 3) if fnTest(row[i], row[i + 1], row[i + 2])]
    return found


def panel_shown(picture):
    """Whether the white values of the F1 panel show in its place at the top left."""
    return len(find(picture, lambda r, g, b: min(r, g, b) > 200, (8, 8, 560, 436))) > 2000


def red_marker(picture):
    """Centre (x, y) of the red light's marker, the only pure red in the picture, or None."""
    found = find(picture, lambda r, g, b: r > 100 and g < 30 and b < 30, (0, 0, 1024, 768))
    return len(found) > 20 and (sum(x for x, y in found) / len(found), sum(y for x, y in found) / len(found))


def fps_shown(picture):
    """Whether the blue frame-rate text shows in the top right corner."""
    return len(find(picture, lambda r, g, b: b > 150 and r < 80 and g < 80, (920, 0, 1024, 30))) > 30


class Game:
    """command under an Xvfb of its own, in a scratch directory; fnPrepare(szDir) may change its data/ copy.
    With bDisplayOption the game finds its display through the toolkit's -display option alone."""

    def __init__(self, command, szSourceDir=None, fnPrepare=None, bDisplayOption=False):
        self.bDisplayOption = bDisplayOption
        self.szDir, self.procs = tempfile.mkdtemp(prefix="kov-e2e-"), []
        if szSourceDir:
            shutil.copytree(os.path.join(szSourceDir, "data"), os.path.join(self.szDir, "data"))
        if fnPrepare:
            fnPrepare(self.szDir)
        try:
            self._start(command)
        except BaseException:
            self.__exit__()  # Xvfb may run already
            raise

    def _start(self, command):
        # Xvfb names a free display once it takes connections. Without -noreset
        # it resets as its last client leaves, and turns away whoever comes then.
        iRead, iWrite = os.pipe()
        self.procs.append(subprocess.Popen(["Xvfb", "-displayfd", str(iWrite), "-screen", "0", "1280x1024x24",
                                            "-nolisten", "tcp", "-noreset"], pass_fds=(iWrite,),
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        os.close(iWrite)
        szDisplay = os.fdopen(iRead).readline().strip()
        assert szDisplay, "Xvfb did not start"
        self.env = dict(os.environ, DISPLAY=":" + szDisplay, LIBGL_ALWAYS_SOFTWARE="1")
        self.before = self.windows()
        self.out, self.err = tempfile.TemporaryFile(), tempfile.TemporaryFile()
        option = ["-display", self.env["DISPLAY"]] if self.bDisplayOption else []
        self.proc = subprocess.Popen(command + option, cwd=self.szDir, env=dict(self.env, DISPLAY="") if option
                                     else self.env, stdin=subprocess.DEVNULL, stdout=self.out, stderr=self.err)
        self.procs.append(self.proc)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        for proc in self.procs:
            proc.kill()
            proc.wait()
        shutil.rmtree(self.szDir)

    def printed(self, bStdout=False):
        """What the game wrote to stderr, or to stdout."""
        return os.pread((self.out if bStdout else self.err).fileno(), 1 << 20, 0).decode(errors="replace")

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True,
                              timeout=TIMEOUT).stdout

    def windows(self):
        return set(self.xdotool("search", "--onlyvisible", "--name", "").split())

    def running(self):
        assert self.proc.poll() is None, "the game ended (status %s): %s" % (self.proc.returncode, self.printed())
        return True

    def wait_window(self):
        """The game's window, once shown, with the keyboard focus."""
        windows = wait_for(lambda: self.running() and self.windows() - self.before, "the game's window")
        assert len(windows) == 1, "the game shows %d windows" % len(windows)
        self.window = windows.pop()
        self.xdotool("windowfocus", self.window)
        return self.window

    def wait_box(self, iMessages):
        """The error box that shows while stderr holds iMessages lines: the box of the last of them."""
        return wait_for(lambda: self.running() and len(self.printed().splitlines()) == iMessages and
                        self.xdotool("search", "--onlyvisible", "--name", "^Error$").split(), "error box %d"
                        % iMessages)[0]

    def screenshot(self):
        self.running()
        result = subprocess.run(["import", "-window", self.window, "-depth", "8", "ppm:-"], env=self.env,
                                capture_output=True, timeout=TIMEOUT)
        assert result.returncode == 0, "import failed: %s" % result.stderr.decode(errors="replace")
        return result.stdout

    def wait_picture(self, fnTest, szWhat):
        """Takes screenshots until fnTest(picture) is true, and returns its value."""
        return wait_for(lambda: fnTest(self.screenshot()), szWhat)

    def wait_drawn(self):
        """The first picture with the board drawn in the middle of the window."""
        return self.wait_picture(lambda p: len(find(p, lambda *rgb: max(rgb) > 24, (492, 364, 532, 404))) > 800
                                 and p, "the first frame")

    def quit(self):
        self.xdotool("key", "Escape")
        wait_for(lambda: self.proc.poll() is not None, "the game to end after Escape")
        assert self.proc.returncode == 0, "status %s after Escape: %s" % (self.proc.returncode, self.printed())
