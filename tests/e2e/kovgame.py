"""Drives the real game as a player would: a private X server, a copy of data/
as the working directory, real key and mouse events through XTEST (xdotool)
and screenshots of the window (ImageMagick's import)."""

import math
import os
import random
import select
import shutil
import signal
import subprocess
import tempfile
import time

WINDOW_TITLE = "KOV Arbeit"
WINDOW_WIDTH = 1024
WINDOW_HEIGHT = 768
SCREEN = "1280x1024x24"

# Seconds. Generous, because the suite may run the sanitizer build on a loaded
# two-core machine; every wait ends as soon as its condition holds.
START_TIMEOUT = 40.0
CHANGE_TIMEOUT = 20.0


class E2eFailure(AssertionError):
    pass


def check(bCondition, szMessage):
    if not bCondition:
        raise E2eFailure(szMessage)


def wait_for(fnCondition, fTimeout, szWhat, fPoll=0.1):
    """Polls fnCondition until it returns a true value, which is returned."""
    fDeadline = time.monotonic() + fTimeout
    while True:
        result = fnCondition()
        if result:
            return result
        if time.monotonic() > fDeadline:
            raise E2eFailure("timed out after %.0f s waiting for %s" % (fTimeout, szWhat))
        time.sleep(fPoll)


class Image:
    """An 8-bit RGB picture, rows from the top."""

    def __init__(self, iWidth, iHeight, pixels):
        self.iWidth = iWidth
        self.iHeight = iHeight
        self.pixels = pixels

    @staticmethod
    def from_ppm(data):
        # P6 header: magic, width, height, maxval, each after white space;
        # comments do not occur in what import writes.
        fields = []
        iPos = 0
        while len(fields) < 4:
            while data[iPos:iPos + 1].isspace():
                iPos += 1
            iEnd = iPos
            while not data[iEnd:iEnd + 1].isspace():
                iEnd += 1
            fields.append(data[iPos:iEnd])
            iPos = iEnd
        check(fields[0] == b"P6", "screenshot is not a binary PPM")
        check(fields[3] == b"255", "screenshot is not 8 bits per channel")
        iWidth, iHeight = int(fields[1]), int(fields[2])
        pixels = data[iPos + 1:]
        check(len(pixels) == iWidth * iHeight * 3, "screenshot is cut short")
        return Image(iWidth, iHeight, pixels)

    def pixel(self, x, y):
        i = (y * self.iWidth + x) * 3
        return self.pixels[i], self.pixels[i + 1], self.pixels[i + 2]

    def rect(self, x0, y0, x1, y1):
        """Yields (x, y, r, g, b) over the half-open rectangle, clipped to the picture."""
        x0, y0 = max(0, x0), max(0, y0)
        x1, y1 = min(self.iWidth, x1), min(self.iHeight, y1)
        for y in range(y0, y1):
            row = self.pixels[(y * self.iWidth + x0) * 3:(y * self.iWidth + x1) * 3]
            for i in range(0, len(row), 3):
                yield x0 + i // 3, y, row[i], row[i + 1], row[i + 2]

    def count(self, x0, y0, x1, y1, fnTest):
        return sum(1 for x, y, r, g, b in self.rect(x0, y0, x1, y1) if fnTest(r, g, b))

    def lit_fraction(self, x0, y0, x1, y1, iThreshold=24):
        iArea = max(1, (min(self.iWidth, x1) - max(0, x0)) * (min(self.iHeight, y1) - max(0, y0)))
        return self.count(x0, y0, x1, y1, lambda r, g, b: max(r, g, b) > iThreshold) / iArea

    def centroid(self, x0, y0, x1, y1, fnTest):
        """Centre and count of the pixels that pass fnTest, or None when none does."""
        fSumX = fSumY = 0.0
        iCount = 0
        for x, y, r, g, b in self.rect(x0, y0, x1, y1):
            if fnTest(r, g, b):
                fSumX += x
                fSumY += y
                iCount += 1
        if iCount == 0:
            return None
        return fSumX / iCount, fSumY / iCount, iCount

    def differing_pixels(self, other, iTolerance=24, box=None):
        """Pixels whose channels differ from other's by more than iTolerance."""
        check((self.iWidth, self.iHeight) == (other.iWidth, other.iHeight), "pictures differ in size")
        x0, y0, x1, y1 = box if box else (0, 0, self.iWidth, self.iHeight)
        x0, y0, x1, y1 = max(0, x0), max(0, y0), min(self.iWidth, x1), min(self.iHeight, y1)
        iCount = 0
        for y in range(y0, y1):
            iStart, iEnd = (y * self.iWidth + x0) * 3, (y * self.iWidth + x1) * 3
            a, b = self.pixels[iStart:iEnd], other.pixels[iStart:iEnd]
            if a == b:
                continue
            for i in range(0, len(a), 3):
                if (abs(a[i] - b[i]) > iTolerance or abs(a[i + 1] - b[i + 1]) > iTolerance
                        or abs(a[i + 2] - b[i + 2]) > iTolerance):
                    iCount += 1
        return iCount

    def same_as(self, other):
        # Mesa's software renderer draws the same frame the same way; the slack
        # covers a few pixels of rounding, never a changed picture.
        return self.differing_pixels(other) < 50


def stop_process(proc):
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


class XServer:
    """A private Xvfb on a display number of its own. It must not reset when
    its last client leaves: a game connecting during a reset is turned away.

    Numbers are drawn at random from a range that nothing else here uses, so
    that tests running side by side seldom compete for one; a taken number is
    retried."""

    def __init__(self):
        rng = random.SystemRandom()
        for _ in range(8):
            iDisplay = rng.randrange(200, 30000)
            if os.path.exists("/tmp/.X%d-lock" % iDisplay):
                continue
            self.proc = self._start(iDisplay)
            if self.proc:
                break
        else:
            raise E2eFailure("Xvfb did not start")
        self.display = ":%d" % iDisplay
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("XAUTHORITY", None)

    @staticmethod
    def _start(iDisplay):
        """The server process once it accepts connections, or None."""
        iRead, iWrite = os.pipe()
        proc = subprocess.Popen(
            ["Xvfb", ":%d" % iDisplay, "-displayfd", str(iWrite), "-screen", "0", SCREEN, "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(iWrite,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(iWrite)
        szReady = b""
        fDeadline = time.monotonic() + START_TIMEOUT
        while not szReady.endswith(b"\n"):
            fLeft = fDeadline - time.monotonic()
            if fLeft <= 0 or not select.select([iRead], [], [], fLeft)[0]:
                break
            chunk = os.read(iRead, 16)
            if not chunk:
                break
            szReady += chunk
        os.close(iRead)
        if szReady.strip() == str(iDisplay).encode():
            return proc
        stop_process(proc)
        return None

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True, timeout=30)

    def stop(self):
        stop_process(self.proc)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


class Game:
    """A running game: command started in szWorkDir under xserver, with its
    output kept. close() ends it and calls fnCleanup."""

    def __init__(self, xserver, command, szWorkDir, fnCleanup=None):
        self.xserver = xserver
        self.fnCleanup = fnCleanup
        env = dict(xserver.env, LIBGL_ALWAYS_SOFTWARE="1")
        self.stdout = tempfile.TemporaryFile()
        self.stderr = tempfile.TemporaryFile()
        self.proc = subprocess.Popen(command, cwd=szWorkDir, env=env, stdin=subprocess.DEVNULL,
                                     stdout=self.stdout, stderr=self.stderr)
        self.window = None

    # --- process -----------------------------------------------------------

    def running(self):
        return self.proc.poll() is None

    def wait_exit(self, fTimeout):
        """Exit status, or None when the process is still running after fTimeout."""
        try:
            return self.proc.wait(fTimeout)
        except subprocess.TimeoutExpired:
            return None

    def stderr_text(self):
        return read_all(self.stderr)

    def stdout_text(self):
        return read_all(self.stdout)

    def rss_kib(self):
        with open("/proc/%d/status" % self.proc.pid) as f:
            for szLine in f:
                if szLine.startswith("VmRSS:"):
                    return int(szLine.split()[1])
        raise E2eFailure("no VmRSS for the game")

    def close(self):
        if self.running():
            self.proc.send_signal(signal.SIGKILL)
            self.proc.wait()
        self.stdout.close()
        self.stderr.close()
        if self.fnCleanup:
            self.fnCleanup()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # --- window --------------------------------------------------------------

    def find_window(self):
        result = self.xserver.xdotool("search", "--name", "^%s$" % WINDOW_TITLE)
        ids = result.stdout.split()
        return int(ids[0]) if ids else None

    def wait_window(self, fTimeout=START_TIMEOUT):
        def found():
            check(self.running(), "the game ended before its window appeared (status %s): %s"
                  % (self.proc.returncode, self.stderr_text()))
            return self.find_window()
        self.window = wait_for(found, fTimeout, "the game window")
        # Keys go to the window under the pointer: there is no window manager.
        self.xserver.xdotool("mousemove", str(WINDOW_WIDTH // 2), str(WINDOW_HEIGHT // 2))
        return self.window

    def geometry(self):
        result = self.xserver.xdotool("getwindowgeometry", "--shell", str(self.window))
        values = dict(szLine.split("=", 1) for szLine in result.stdout.split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def window_name(self):
        return self.xserver.xdotool("getwindowname", str(self.window)).stdout.rstrip("\n")

    def screenshot(self):
        check(self.running(), "the game is gone (status %s): %s" % (self.proc.returncode, self.stderr_text()))
        result = subprocess.run(["import", "-window", str(self.window), "-depth", "8", "ppm:-"],
                                env=self.xserver.env, capture_output=True, timeout=30)
        check(result.returncode == 0, "import failed: %s" % result.stderr.decode(errors="replace"))
        return Image.from_ppm(result.stdout)

    def save_png(self, szPath):
        result = subprocess.run(["import", "-window", str(self.window), szPath],
                                env=self.xserver.env, capture_output=True, timeout=30)
        check(result.returncode == 0, "import failed: %s" % result.stderr.decode(errors="replace"))

    def wait_picture(self, fnTest, szWhat, fTimeout=CHANGE_TIMEOUT):
        """Takes screenshots until fnTest(picture) holds; returns that picture."""
        def attempt():
            image = self.screenshot()
            return image if fnTest(image) else None
        return wait_for(attempt, fTimeout, szWhat, fPoll=0.05)

    def wait_first_frame(self):
        """The first picture with something drawn in the middle of the window."""
        return self.wait_picture(lambda image: image.lit_fraction(462, 334, 562, 434) > 0.5,
                                 "the first frame", START_TIMEOUT)

    def wait_steady(self, fTimeout=CHANGE_TIMEOUT):
        """A picture that the next frames repeat: nothing moves any more."""
        previous = [self.screenshot()]

        def settled():
            time.sleep(0.3)
            image = self.screenshot()
            bSame = image.same_as(previous[0])
            previous[0] = image
            return image if bSame else None
        return wait_for(settled, fTimeout, "a steady picture", fPoll=0.0)

    # --- input ---------------------------------------------------------------

    def key(self, *keys):
        self.xserver.xdotool("key", "--delay", "40", *keys)

    def key_down(self, key):
        self.xserver.xdotool("keydown", key)

    def key_up(self, key):
        self.xserver.xdotool("keyup", key)

    def drag(self, iButton, points):
        """Presses iButton (1 left, 2 middle, 3 right) at the first point, moves
        through the others and releases it at the last."""
        args = ["mousemove", str(points[0][0]), str(points[0][1]), "mousedown", str(iButton)]
        for x, y in points[1:]:
            args += ["sleep", "0.03", "mousemove", str(x), str(y)]
        args += ["sleep", "0.03", "mouseup", str(iButton)]
        self.xserver.xdotool(*args)


def read_all(file):
    # pread leaves the offset that the game shares with us alone.
    return os.pread(file.fileno(), os.fstat(file.fileno()).st_size, 0).decode(errors="replace")


def start_in_data_copy(szBinary, szSourceDir, xserver, fnPrepare=None):
    """The game started in a scratch directory holding a copy of data/;
    fnPrepare(szWorkDir) may change the copy first."""
    szWorkDir = tempfile.mkdtemp(prefix="kov-e2e-")
    shutil.copytree(os.path.join(szSourceDir, "data"), os.path.join(szWorkDir, "data"))
    if fnPrepare:
        fnPrepare(szWorkDir)
    try:
        return Game(xserver, [szBinary], szWorkDir, lambda: shutil.rmtree(szWorkDir, ignore_errors=True))
    except OSError:
        shutil.rmtree(szWorkDir, ignore_errors=True)
        raise


# --- the scene as the default camera sees it -------------------------------

def read_level(szPath):
    """Width, height and rows of a level file, as the game reads it."""
    with open(szPath, "rb") as f:
        lines = f.read().split(b"\n")
    iWidth, iHeight = int(lines[0].split()[0], 0), int(lines[1].split()[0], 0)
    rows = [lines[2 + y][:iWidth].ljust(iWidth) for y in range(iHeight)]
    return iWidth, iHeight, rows


def start_cell(rows):
    cell = (0, 0)
    for y, row in enumerate(rows):
        for x, c in enumerate(row):
            if c == ord("S"):
                cell = (x, y)
    return cell


def focal_length():
    """Pixels per unit at depth 1 for the 45 degree view of a 768 pixel high window."""
    return (WINDOW_HEIGHT / 2) / math.tan(math.radians(45.0 / 2))


def project(point, center=(0.0, 0.0, 0.0)):
    """Window pixel (x from the left, y from the top) and depth of a world point
    seen by the start-up camera: eye on the orbit at angles 0 and 150 pixels of
    a 1024 x 768 window, 25 units from center, 45 degree perspective."""
    fAzimuth = math.pi / 2
    fElevation = 150.0 / WINDOW_HEIGHT * 2 * math.pi
    offset = (math.cos(fAzimuth) * 25 * math.cos(fElevation), math.sin(fElevation) * 25,
              math.sin(fAzimuth) * 25 * math.cos(fElevation))
    eye = tuple(c + o for c, o in zip(center, offset))
    forward = normalized(tuple(-o for o in offset))
    side = normalized(cross(forward, (0.0, 1.0, 0.0)))
    up = cross(side, forward)
    rel = tuple(p - e for p, e in zip(point, eye))
    fX, fY, fDepth = dot(rel, side), dot(rel, up), dot(rel, forward)
    return (WINDOW_WIDTH / 2 + fX * focal_length() / fDepth,
            WINDOW_HEIGHT / 2 - fY * focal_length() / fDepth, fDepth)


def ball_on_screen(szLevelPath, center=(0.0, 0.0, 0.0)):
    """Where the ball rests at start: window centre and radius in pixels."""
    iWidth, iHeight, rows = read_level(szLevelPath)
    iStartX, iStartY = start_cell(rows)
    fX, fY, fDepth = project((iStartX - iWidth * 0.5 + 0.5, 0.5, iStartY - iHeight * 0.5 + 0.5), center)
    return fX, fY, 0.475 * focal_length() / fDepth


def box_outline(szLevelPath, center=(0.0, 0.0, 0.0)):
    """The box's outline in the start view: the convex hull of its outer corners."""
    iWidth, iHeight, _ = read_level(szLevelPath)
    fRim, fBottom, fTop = 0.02 * iWidth, -0.05 * iWidth - 0.5, 0.04 * iWidth
    points = []
    for fX in (-iWidth * 0.5 - fRim, iWidth * 0.5 + fRim):
        for fZ in (-iHeight * 0.5 - fRim, iHeight * 0.5 + fRim):
            for fY in (fBottom, fTop):
                points.append(project((fX, fY, fZ), center)[:2])
    return convex_hull(points)


def convex_hull(points):
    """Counter-clockwise hull in window coordinates (monotone chain)."""
    points = sorted(set(points))

    def half(sequence):
        chain = []
        for p in sequence:
            while len(chain) >= 2 and turn(chain[-2], chain[-1], p) <= 0:
                chain.pop()
            chain.append(p)
        return chain[:-1]
    return half(points) + half(reversed(points))


def turn(a, b, c):
    return (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0])


def hull_span(hull, fY):
    """The x range the hull covers on the pixel row at fY, or None."""
    xs = []
    for a, b in zip(hull, hull[1:] + hull[:1]):
        if min(a[1], b[1]) <= fY <= max(a[1], b[1]) and a[1] != b[1]:
            xs.append(a[0] + (fY - a[1]) * (b[0] - a[0]) / (b[1] - a[1]))
    return (min(xs), max(xs)) if xs else None


def pixels_outside(image, hulls, iMargin=4):
    """Yields (x, y, r, g, b) of the pixels at least about iMargin pixels clear
    of every hull (the hulls overlap, so their union spans one range a row)."""
    for y in range(image.iHeight):
        spans = []
        for hull in hulls:
            fTop, fBottom = min(p[1] for p in hull), max(p[1] for p in hull)
            if fTop - iMargin <= y + 0.5 <= fBottom + iMargin:
                spans.append(hull_span(hull, min(max(y + 0.5, fTop), fBottom)))
        if not spans:
            yield from image.rect(0, y, image.iWidth, y + 1)
            continue
        yield from image.rect(0, y, int(min(span[0] for span in spans)) - iMargin, y + 1)
        yield from image.rect(int(max(span[1] for span in spans)) + 1 + iMargin, y, image.iWidth, y + 1)


def is_ball_colour(r, g, b):
    # Orange material under white light: no blue but in the highlight.
    return r > 60 and b < 0.25 * r and 0.3 * r < g < 0.85 * r


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def normalized(v):
    fLength = math.sqrt(dot(v, v))
    return tuple(c / fLength for c in v)
