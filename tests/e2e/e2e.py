"""End-to-end tests: each case starts the real game under its own X server and
plays it with real input. Usage: e2e.py KOV_BINARY SOURCE_DIR CASE"""

import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import kovgame  # noqa: E402
from kovgame import XServer, check, wait_for  # noqa: E402

LEVEL = "data/field.txt"

# Pixels of the whole sphere of stars at the start view's focal length: the
# sky's thousand stars spread over this many pixels of window.
STAR_SPHERE_PIXELS = 4 * 3.14159 * kovgame.focal_length() ** 2

# Tilt keys and where each sends the ball: (column step, row step) on the
# board. The start view looks down on the board with its columns running to
# the right and its rows down the window, so this is also the ball's direction
# on the screen.
TILT_KEYS = {
    "Left": (-1, 0),
    "Right": (1, 0),
    "Up": (0, -1),
    "Down": (0, 1),
}


def level_path(szSourceDir):
    return os.path.join(szSourceDir, LEVEL)


def box_rect(szSourceDir):
    """The window rectangle that holds the box in the start view."""
    hull = kovgame.box_outline(level_path(szSourceDir))
    return (max(0, int(min(p[0] for p in hull))), max(0, int(min(p[1] for p in hull))),
            min(kovgame.WINDOW_WIDTH, int(max(p[0] for p in hull)) + 1),
            min(kovgame.WINDOW_HEIGHT, int(max(p[1] for p in hull)) + 1))


def box_changed(baseline, szSourceDir, fFraction):
    """A picture condition: more than fFraction of the box's pixels differ from baseline."""
    box = box_rect(szSourceDir)
    iArea = (box[2] - box[0]) * (box[3] - box[1])
    return lambda image: image.differing_pixels(baseline, box=box) > fFraction * iArea


def sky(image, szSourceDir, centers=((0.0, 0.0, 0.0),)):
    """(x, y, r, g, b) of the pixels clear of the box, seen from the start view
    with each of the camera centres."""
    hulls = [kovgame.box_outline(level_path(szSourceDir), center) for center in centers]
    return list(kovgame.pixels_outside(image, hulls))


def rolling_direction(szSourceDir):
    """A tilt key that rolls the ball from the start cell over free floor until a
    wall or the rim stops it (not into a hole, which would send it back):
    the longest such run, sideways before forward, since that shows most."""
    iWidth, iHeight, rows = kovgame.read_level(level_path(szSourceDir))
    iX, iY = kovgame.start_cell(rows)

    def run(step):
        iCount, x, y = 0, iX + step[0], iY + step[1]
        while 0 <= x < iWidth and 0 <= y < iHeight and chr(rows[y][x]) not in "XxOo":
            iCount += 1
            x, y = x + step[0], y + step[1]
        bHole = 0 <= x < iWidth and 0 <= y < iHeight and chr(rows[y][x]) in "Oo"
        return 0 if bHole else iCount
    szKey = max(TILT_KEYS, key=lambda k: (run(TILT_KEYS[k]), TILT_KEYS[k][0] != 0))
    check(run(TILT_KEYS[szKey]) >= 1, "the level leaves the ball no room to roll")
    return szKey


def find_ball(image, around, fReach):
    x, y = around
    return image.centroid(int(x - fReach), int(y - fReach), int(x + fReach), int(y + fReach),
                          kovgame.is_ball_colour)


def ball_at_start(szSourceDir, image):
    """The ball's centre in the start view, checked against where it belongs."""
    fX, fY, fRadius = kovgame.ball_on_screen(level_path(szSourceDir))
    found = find_ball(image, (fX, fY), 3 * fRadius)
    check(found is not None, "no ball near (%.0f, %.0f)" % (fX, fY))
    fFoundX, fFoundY, iCount = found
    check(abs(fFoundX - fX) < 0.5 * fRadius and abs(fFoundY - fY) < 0.5 * fRadius,
          "ball at (%.0f, %.0f), expected at (%.0f, %.0f)" % (fFoundX, fFoundY, fX, fY))
    fDisc = 3.14159 * fRadius * fRadius
    check(0.4 * fDisc < iCount < 1.3 * fDisc,
          "ball covers %d pixels, a disc of radius %.1f has %.0f" % (iCount, fRadius, fDisc))
    return fFoundX, fFoundY, fRadius


def rolled(start, fRadius, step):
    """Tells a picture in which the ball has left start by more than its
    radius in the direction step."""
    def test(image):
        found = find_ball(image, start, 6 * fRadius)
        return found and (found[0] - start[0]) * step[0] + (found[1] - start[1]) * step[1] > fRadius
    return test


def count_points(pixels):
    """Separate lit spots among the pixels."""
    lit = set((x, y) for x, y, r, g, b in pixels if max(r, g, b) > 24)
    iSpots = 0
    while lit:
        iSpots += 1
        todo = [lit.pop()]
        while todo:
            x, y = todo.pop()
            for neighbour in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                if neighbour in lit:
                    lit.remove(neighbour)
                    todo.append(neighbour)
    return iSpots


def started(szBinary, szSourceDir, xserver, **kwargs):
    game = kovgame.start_in_data_copy(szBinary, szSourceDir, xserver, **kwargs)
    try:
        game.wait_window()
    except BaseException:
        game.close()
        raise
    return game


def quit_with_escape(game):
    game.key("Escape")
    iStatus = game.wait_exit(kovgame.CHANGE_TIMEOUT)
    check(iStatus == 0, "Escape ended the game with status %s: %s" % (iStatus, game.stderr_text()))


# --- cases -------------------------------------------------------------------

def case_window(szBinary, szSourceDir):
    with XServer() as xserver, started(szBinary, szSourceDir, xserver) as game:
        check(game.window_name() == "KOV Arbeit", "window title %r" % game.window_name())
        check(game.geometry() == (0, 0, 1024, 768), "window at/size %s" % (game.geometry(),))
        game.wait_first_frame()
        check(game.stderr_text() == "", "unexpected messages: %s" % game.stderr_text())
        quit_with_escape(game)
        check(game.stdout_text() == "", "the game wrote to stdout: %s" % game.stdout_text())


def case_first_frame(szBinary, szSourceDir):
    with XServer() as xserver, started(szBinary, szSourceDir, xserver) as game:
        game.wait_first_frame()
        image = game.wait_steady()
        # The board and the box fill the middle of the window.
        check(image.lit_fraction(312, 234, 712, 534) > 0.97, "the middle of the window is not covered")
        ball_at_start(szSourceDir, image)
        # Stars: dim grey-blue points all around the box, and nothing else there.
        skyPixels = sky(image, szSourceDir)
        check(len(skyPixels) > 20000, "the box fills the window; no sky to see")
        lit = [(r, g, b) for x, y, r, g, b in skyPixels if max(r, g, b) > 24]
        check(len(lit) < 0.02 * len(skyPixels), "%d lit pixels around the box are more than stars" % len(lit))
        notGrey = [p for p in lit if p[2] + 8 < p[0] or abs(p[0] - p[1]) > 16 or max(p) > 200]
        check(not notGrey, "%d sky pixels are not dim grey-blue star light, e.g. %s" % (len(notGrey), notGrey[:3]))
        iSpots = count_points(skyPixels)
        fStarsExpected = 1000 * len(skyPixels) / STAR_SPHERE_PIXELS
        check(iSpots >= 0.5 * fStarsExpected, "only %d stars around the box, about %.0f expected"
              % (iSpots, fStarsExpected))


def is_blue(r, g, b):
    return b > 150 and r < 80 and g < 80


def case_fps_overlay(szBinary, szSourceDir):
    def blue_text(image, box):
        return image.count(*box, is_blue)
    corner = (926, 0, 1024, 40)
    rest = (0, 0, 900, 768)
    with XServer() as xserver, started(szBinary, szSourceDir, xserver) as game:
        image = game.wait_first_frame()
        check(blue_text(image, corner) == 0, "blue text before F")
        game.key("f")
        image = game.wait_picture(lambda im: blue_text(im, corner) > 30, "the frame-rate text")
        check(blue_text(image, rest) == 0, "blue text outside the top right corner")
        # The text starts at 90.5 % of the width and sits just under the top edge.
        found = image.centroid(*corner, is_blue)
        check(found[1] < 24, "text too low: centre row %.0f" % found[1])
        iLeft = min(x for x, y, r, g, b in image.rect(*corner) if is_blue(r, g, b))
        check(926 <= iLeft <= 934, "text starts at x %d" % iLeft)
        game.key("f")
        game.wait_picture(lambda im: blue_text(im, corner) == 0, "the frame-rate text to go")
        quit_with_escape(game)


def case_escape(szBinary, szSourceDir):
    with XServer() as xserver, started(szBinary, szSourceDir, xserver) as game:
        game.wait_first_frame()
        fStart = time.monotonic()
        game.key("Escape")
        iStatus = game.wait_exit(kovgame.CHANGE_TIMEOUT)
        fTaken = time.monotonic() - fStart
        check(iStatus == 0, "exit status %s: %s" % (iStatus, game.stderr_text()))
        check(fTaken < ESCAPE_SECONDS, "Escape took %.2f s to end the game" % fTaken)


def case_arrow_moves_ball(szBinary, szSourceDir):
    szKey = rolling_direction(szSourceDir)
    with XServer() as xserver, started(szBinary, szSourceDir, xserver) as game:
        game.wait_first_frame()
        fX, fY, fRadius = ball_at_start(szSourceDir, game.wait_steady())
        game.key_down(szKey)
        try:
            game.wait_picture(rolled((fX, fY), fRadius, TILT_KEYS[szKey]), "the ball to roll under %s" % szKey)
        finally:
            game.key_up(szKey)
        quit_with_escape(game)


def case_drag_tilts_board(szBinary, szSourceDir):
    szKey = rolling_direction(szSourceDir)
    screenStep = TILT_KEYS[szKey]
    with XServer() as xserver, started(szBinary, szSourceDir, xserver) as game:
        game.wait_first_frame()
        baseline = game.wait_steady()
        fX, fY, fRadius = ball_at_start(szSourceDir, baseline)
        # 100 pixels tilt by the full 2 degrees, like 20 presses of the arrow.
        points = [(512 + screenStep[0] * i, 384 + screenStep[1] * i) for i in range(0, 101, 10)]
        game.drag(1, points)
        # The board turns inside the box while the sky stays.
        game.wait_picture(box_changed(baseline, szSourceDir, 0.01), "the board to tilt")
        game.wait_picture(rolled((fX, fY), fRadius, screenStep), "the ball to roll downhill")
        quit_with_escape(game)


def case_shift_arrow_moves_camera(szBinary, szSourceDir):
    szLevel = level_path(szSourceDir)
    with XServer() as xserver, started(szBinary, szSourceDir, xserver) as game:
        game.wait_first_frame()
        baseline = game.wait_steady()
        fX, fY, fRadius = ball_at_start(szSourceDir, baseline)
        # Ten steps of 0.1 move the centre by one unit; the board stays level,
        # so the ball only slides with the whole scene.
        for szKey, center in (("shift+Right", (1.0, 0.0, 0.0)), ("shift+Down", (1.0, 0.0, 1.0))):
            game.key(*[szKey] * 10)
            fToX, fToY, _ = kovgame.ball_on_screen(szLevel, center)

            def arrived(image):
                found = find_ball(image, (fToX, fToY), fRadius)
                return found and abs(found[0] - fToX) < 0.25 * fRadius and abs(found[1] - fToY) < 0.25 * fRadius
            game.wait_picture(arrived, "the ball at (%.0f, %.0f) after %s" % (fToX, fToY, szKey))
        image = game.wait_steady()
        check(arrived(image), "the ball did not stay put after the camera moved")
        # The sky keeps its directions: it moves with the eye.
        moved = [(x, y) for x, y, r, g, b in sky(image, szSourceDir, ((0.0, 0.0, 0.0), (1.0, 0.0, 1.0)))
                 if (r, g, b) != baseline.pixel(x, y)]
        check(not moved, "the stars moved, e.g. at %s" % moved[:3])
        quit_with_escape(game)


def toggled_and_back(game, baseline, szKey, fnChanged, szWhat):
    game.key(szKey)
    game.wait_picture(fnChanged, szWhat)
    game.key(szKey)
    game.wait_picture(lambda image: image.same_as(baseline), "the picture back after %s again" % szKey)


def case_wireframe(szBinary, szSourceDir):
    with XServer() as xserver, started(szBinary, szSourceDir, xserver) as game:
        game.wait_first_frame()
        baseline = game.wait_steady()
        # Outlines on black: most of the board's middle turns dark.
        toggled_and_back(game, baseline, "w", lambda im: im.lit_fraction(312, 234, 712, 534) < 0.5,
                         "the wire-frame picture")
        quit_with_escape(game)


def case_lighting_and_textures(szBinary, szSourceDir):
    with XServer() as xserver, started(szBinary, szSourceDir, xserver) as game:
        game.wait_first_frame()
        baseline = game.wait_steady()
        for szKey in ("l", "t"):
            toggled_and_back(game, baseline, szKey, box_changed(baseline, szSourceDir, 0.2),
                             "a changed picture after %s" % szKey)
        quit_with_escape(game)


def case_orbit_and_reset(szBinary, szSourceDir):
    with XServer() as xserver, started(szBinary, szSourceDir, xserver) as game:
        game.wait_first_frame()
        baseline = game.wait_steady()
        game.drag(3, [(400 + 20 * i, 300 + 8 * i) for i in range(11)])
        game.wait_picture(box_changed(baseline, szSourceDir, 0.2), "the orbited view")
        game.key("i")
        game.wait_picture(lambda image: image.same_as(baseline), "the start view after I")
        quit_with_escape(game)


def start_cell_rect(szSourceDir):
    """The window rectangle around the start cell's floor in the start view."""
    iWidth, iHeight, rows = kovgame.read_level(level_path(szSourceDir))
    iX, iY = kovgame.start_cell(rows)
    corners = [kovgame.project((iX + dx - iWidth * 0.5, 0.0, iY + dz - iHeight * 0.5))
               for dx in (0, 1) for dz in (0, 1)]
    return (int(min(c[0] for c in corners)) - 3, int(min(c[1] for c in corners)) - 3,
            int(max(c[0] for c in corners)) + 4, int(max(c[1] for c in corners)) + 4)


def case_missing_texture(szBinary, szSourceDir):
    with XServer() as xserver, started(szBinary, szSourceDir, xserver) as game:
        game.wait_first_frame()
        complete = game.wait_steady()

    def remove_start(szWorkDir):
        os.remove(os.path.join(szWorkDir, "data/start.bmp"))
    with XServer() as xserver, started(szBinary, szSourceDir, xserver, fnPrepare=remove_start) as game:
        game.wait_first_frame()
        szErr = game.stderr_text()
        check(szErr == "Error: Failed to open DIB file data/start.bmp.\n", "stderr: %r" % szErr)
        image = game.wait_steady()
        # Only the respawn cell lost its picture; the other five textures are there.
        cell = start_cell_rect(szSourceDir)
        iCell = (cell[2] - cell[0]) * (cell[3] - cell[1])
        check(image.differing_pixels(complete, box=cell) > 0.2 * iCell, "the start cell looks as before")
        iElsewhere = (image.differing_pixels(complete) - image.differing_pixels(complete, box=cell))
        check(iElsewhere < 50, "%d pixels changed away from the start cell" % iElsewhere)
        quit_with_escape(game)


def corrupt_case(fnCorrupt, szExpected):
    def case(szBinary, szSourceDir):
        def prepare(szWorkDir):
            fnCorrupt(os.path.join(szWorkDir, "data/hole.bmp"))
        with XServer() as xserver, started(szBinary, szSourceDir, xserver, fnPrepare=prepare) as game:
            game.wait_first_frame()
            szErr = game.stderr_text()
            check(szErr == szExpected, "stderr: %r" % szErr)
            quit_with_escape(game)
    return case


def set_header_size(szPath):
    # A 108-byte (version 4) information header, which the reader refuses.
    with open(szPath, "r+b") as f:
        f.seek(14)
        f.write((108).to_bytes(4, "little"))


def truncate_pixels(szPath):
    # The headers promise rows that the file no longer holds.
    with open(szPath, "r+b") as f:
        f.truncate(60)


def case_missing_level(szBinary, szSourceDir):
    def remove_level(szWorkDir):
        os.remove(os.path.join(szWorkDir, LEVEL))
    with XServer() as xserver, \
            kovgame.start_in_data_copy(szBinary, szSourceDir, xserver, fnPrepare=remove_level) as game:
        def ended():
            check(game.find_window() is None, "a window appeared")
            return not game.running()
        wait_for(ended, kovgame.START_TIMEOUT, "the game to give up", fPoll=0.02)
        check(game.proc.returncode == 1, "exit status %s" % game.proc.returncode)
        szErr = game.stderr_text()
        check("data/field.txt" in szErr, "the message does not name the level file: %r" % szErr)
        check(szErr.count("\n") == 1, "not one line: %r" % szErr)
    # Had the game gone on to open its window, the toolkit would complain that
    # there is no display.
    env = dict(os.environ)
    env.pop("DISPLAY", None)
    with tempfile.TemporaryDirectory() as szWorkDir:
        os.mkdir(os.path.join(szWorkDir, "data"))
        result = subprocess.run([szBinary], cwd=szWorkDir, env=env, capture_output=True, text=True, timeout=60)
        check(result.returncode == 1, "exit status %s without a display" % result.returncode)
        check("display" not in result.stderr.lower(), "the game reached the toolkit: %r" % result.stderr)


CASES = {
    "window": case_window,
    "first_frame": case_first_frame,
    "fps_overlay": case_fps_overlay,
    "escape": case_escape,
    "arrow_moves_ball": case_arrow_moves_ball,
    "drag_tilts_board": case_drag_tilts_board,
    "shift_arrow_moves_camera": case_shift_arrow_moves_camera,
    "wireframe": case_wireframe,
    "lighting_and_textures": case_lighting_and_textures,
    "orbit_and_reset": case_orbit_and_reset,
    "missing_texture": case_missing_texture,
    "unknown_bmp_header": corrupt_case(set_header_size, "Error: Unknown DIB file format.\n"),
    "truncated_bmp": corrupt_case(truncate_pixels, "Error: Image file conversion error.\n"),
    "missing_level": case_missing_level,
}

# The sanitizer build checks for leaks at exit, which takes its own time.
ESCAPE_SECONDS = float(os.environ.get("KOV_E2E_ESCAPE_SECONDS", "1.0"))


def main(argv):
    if len(argv) != 4 or argv[3] not in CASES:
        sys.stderr.write("usage: e2e.py KOV_BINARY SOURCE_DIR CASE\ncases: %s\n" % " ".join(CASES))
        return 2
    try:
        CASES[argv[3]](os.path.abspath(argv[1]), os.path.abspath(argv[2]))
    except kovgame.E2eFailure as failure:
        sys.stderr.write("FAILED %s: %s\n" % (argv[3], failure))
        return 1
    print("passed %s" % argv[3])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
