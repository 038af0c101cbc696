"""The real game under a private X server, in a scratch directory, played with
real input through XTEST (xdotool) and seen through screenshots (import)."""

import os
import re
import shutil
import subprocess
import tempfile
import time

# Seconds. Generous, for the sanitizer build on a loaded machine; every wait
# ends as soon as its condition holds.
TIMEOUT = 90.0


class Failure(AssertionError):
    pass


def check(bCondition, szMessage):
    if not bCondition:
        raise Failure(szMessage)


def wait_for(fnCondition, szWhat):
    """Polls fnCondition until it returns a true value, which it returns."""
    fDeadline = time.monotonic() + TIMEOUT
    while not (result := fnCondition()):
        check(time.monotonic() < fDeadline, "timed out after %.0f s waiting for %s" % (TIMEOUT, szWhat))
        time.sleep(0.05)
    return result


def drag_args(iButton, points):
    """xdotool arguments that drag with iButton (1 left, 2 middle, 3 right) through points."""
    args = ["mousemove", *map(str, points[0]), "mousedown", str(iButton)]
    for point in points[1:]:
        args += ["mousemove", *map(str, point)]
    return args + ["mouseup", str(iButton)]


class Picture:
    def __init__(self, ppm):
        match = re.match(rb"P6\s(\d+)\s(\d+)\s255\s", ppm)
        check(match, "the screenshot is no 8-bit PPM")
        self.ppm, self.iWidth, self.data = ppm, int(match[1]), ppm[match.end():]

    def find(self, fnTest, box):
        """(x, y) of the pixels in box (x0, y0, x1, y1) whose red, green and blue pass fnTest."""
        x0, y0, x1, y1 = box
        found = []
        for y in range(y0, y1):
            row = self.data[(y * self.iWidth + x0) * 3:(y * self.iWidth + x1) * 3]
            found += [(x0 + i // 3, y) for i in range(0, len(row), 3) if fnTest(row[i], row[i + 1], row[i + 2])]
        return found


class Game:
    """command started under an Xvfb of its own in a scratch directory, which
    holds a copy of data/ when szSourceDir is given; fnPrepare(szDir) may
    change it first. Output goes to files, kept until the end."""

    def __init__(self, command, szSourceDir=None, fnPrepare=None):
        self.szDir, self.procs = tempfile.mkdtemp(prefix="kov-e2e-"), []
        try:
            self._start(command, szSourceDir, fnPrepare)
        except BaseException:
            self.__exit__()
            raise

    def _start(self, command, szSourceDir, fnPrepare):
        if szSourceDir:
            shutil.copytree(os.path.join(szSourceDir, "data"), os.path.join(self.szDir, "data"))
        if fnPrepare:
            fnPrepare(self.szDir)
        iRead, iWrite = os.pipe()
        # Xvfb picks a free display and names it when it accepts connections;
        # -noreset, or a game connecting as the last client leaves is turned away.
        self.procs.append(subprocess.Popen(["Xvfb", "-displayfd", str(iWrite), "-screen", "0", "1280x1024x24",
                                            "-nolisten", "tcp", "-noreset"], pass_fds=(iWrite,),
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        os.close(iWrite)
        with os.fdopen(iRead) as ready:
            szDisplay = ready.readline().strip()
        check(szDisplay, "Xvfb did not start")
        self.env = {k: v for k, v in os.environ.items() if k != "XAUTHORITY"}
        self.env.update(DISPLAY=":" + szDisplay, LIBGL_ALWAYS_SOFTWARE="1")
        self.before = set(self.xdotool("search", "--onlyvisible", "--name", "").split())
        self.out, self.err = tempfile.TemporaryFile(), tempfile.TemporaryFile()
        self.proc = subprocess.Popen(command, cwd=self.szDir, env=self.env, stdin=subprocess.DEVNULL,
                                     stdout=self.out, stderr=self.err)
        self.procs.append(self.proc)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        for proc in self.procs:
            proc.kill()
            proc.wait()
        shutil.rmtree(self.szDir)

    def stdout(self):
        return os.pread(self.out.fileno(), 1 << 20, 0).decode(errors="replace")

    def stderr(self):
        return os.pread(self.err.fileno(), 1 << 20, 0).decode(errors="replace")

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True,
                              timeout=TIMEOUT).stdout

    def running(self):
        check(self.proc.poll() is None, "the game ended (status %s): %s" % (self.proc.returncode, self.stderr()))
        return True

    def wait_window(self):
        """The game's window, once shown, with the keyboard focus."""
        def shown():
            return self.running() and set(self.xdotool("search", "--onlyvisible", "--name", "").split()) - self.before
        windows = wait_for(shown, "the game's window")
        check(len(windows) == 1, "the game shows %d windows" % len(windows))
        self.window = windows.pop()
        self.xdotool("windowfocus", self.window)
        return self.window

    def screenshot(self):
        self.running()
        result = subprocess.run(["import", "-window", self.window, "-depth", "8", "ppm:-"], env=self.env,
                                capture_output=True, timeout=TIMEOUT)
        check(result.returncode == 0, "import failed: %s" % result.stderr.decode(errors="replace"))
        return Picture(result.stdout)

    def wait_picture(self, fnTest, szWhat):
        """Takes screenshots until fnTest(picture) is true, and returns its value."""
        return wait_for(lambda: fnTest(self.screenshot()), szWhat)

    def wait_drawn(self):
        """The first picture with the board drawn in the middle of the window."""
        return self.wait_picture(lambda p: len(p.find(lambda *rgb: max(rgb) > 24, (492, 364, 532, 404))) > 800
                                 and p, "the first frame")

    def quit(self):
        self.xdotool("key", "Escape")
        try:
            iStatus = self.proc.wait(TIMEOUT)
        except subprocess.TimeoutExpired:
            iStatus = "none: it still runs"
        check(iStatus == 0, "Escape ended the game with status %s: %s" % (iStatus, self.stderr()))
