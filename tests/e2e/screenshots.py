"""Screenshots of the real program for the README: the game as it starts, the workbench with lights switched
and moved, a narrow spot, flat shading, a coarse ball and the frame rate, the same with the F1 panel and with
the light markers, and the level spiral of the set as it starts.
Usage: screenshots.py KOV_BINARY SOURCE_DIR OUT_DIR"""

import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kovgame import Game, drag_args, fps_shown, panel_shown, red_marker  # noqa: E402

WORKBENCH = (drag_args(3, [(300 + 32 * i, 400 - 4 * i) for i in range(9)])  # a quarter round, a little lower
             + ["key", "--delay", "20", "2", "Insert"] + ["n"] * 40 + ["m"] * 20  # red light on, moved to -x, +z
             + ["3", "Insert"] + ["comma"] * 30  # green light on, moved to +x
             + ["1"] + ["Next"] * 60 + ["N"] * 3  # white spot narrowed to 30 degrees, leaning to -x
             + ["s"] + ["minus"] * 24 + ["f"])  # flat shading on a coarse ball; the frame rate comes last


def shoot(szGame, szSourceDir, szPath, args, fnLast=fps_shown, szLevel=None):
    def prepare(szDir):
        shutil.copy(os.path.join(szDir, "data/levels", szLevel + ".txt"), os.path.join(szDir, "data/field.txt"))
    with Game([szGame], szSourceDir, prepare if szLevel else None) as game:
        game.wait_window()
        picture = game.wait_drawn()
        if args:
            # Once the last key shows its effect, every input before it has had its own.
            game.xdotool(*args)
            picture = game.wait_picture(lambda p: fnLast(p) and p, "the last key's effect")
        subprocess.run(["convert", "ppm:-", szPath], input=picture, check=True)
    print("wrote %s" % szPath)


if __name__ == "__main__":
    szGame, szSourceDir, szOut = map(os.path.abspath, sys.argv[1:4])
    os.makedirs(szOut, exist_ok=True)
    shoot(szGame, szSourceDir, os.path.join(szOut, "game.png"), [])
    shoot(szGame, szSourceDir, os.path.join(szOut, "workbench.png"), WORKBENCH)
    shoot(szGame, szSourceDir, os.path.join(szOut, "panel.png"), WORKBENCH + ["F1"], panel_shown)
    shoot(szGame, szSourceDir, os.path.join(szOut, "lights.png"), WORKBENCH + ["F2"], red_marker)
    shoot(szGame, szSourceDir, os.path.join(szOut, "spiral.png"), [], szLevel="spiral")
