"""Screenshots of the real program for the documentation: the game as it
starts, and the workbench with lights switched and moved, a narrow spot, flat
shading and a coarse ball. Usage: screenshots.py KOV_BINARY SOURCE_DIR OUT_DIR"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import kovgame  # noqa: E402
from kovgame import XServer  # noqa: E402

WORKBENCH_KEYS = (
    ["2", "Insert"] + ["n"] * 40 + ["m"] * 20     # red light on, moved toward -x, +z
    + ["3", "Insert"] + ["comma"] * 30             # green light on, moved toward +x
    + ["1"] + ["Next"] * 60 + ["N"] * 3            # white spot narrowed to 30 degrees, leaning to -x
    + ["s"] + ["minus"] * 24                       # flat shading on a coarse ball
    + ["f"])                                       # frame rate


def take(szBinary, szSourceDir, szPath, keys, fnMore=None):
    with XServer() as xserver, kovgame.start_in_data_copy(szBinary, szSourceDir, xserver) as game:
        game.wait_window()
        game.wait_first_frame()
        if keys:
            game.key(*keys)
        if fnMore:
            fnMore(game)
        game.wait_steady()
        game.save_png(szPath)
    print("wrote %s" % szPath)


def orbit(game):
    # A quarter of the way round the board and a little lower.
    game.drag(3, [(300 + 32 * i, 400 - 4 * i) for i in range(9)])


def main(argv):
    if len(argv) != 4:
        sys.stderr.write("usage: screenshots.py KOV_BINARY SOURCE_DIR OUT_DIR\n")
        return 2
    szBinary, szSourceDir, szOut = (os.path.abspath(a) for a in argv[1:])
    os.makedirs(szOut, exist_ok=True)
    take(szBinary, szSourceDir, os.path.join(szOut, "game.png"), [])
    take(szBinary, szSourceDir, os.path.join(szOut, "workbench.png"), WORKBENCH_KEYS, orbit)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
