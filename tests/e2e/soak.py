"""Soak: plays the game's heap-counting build with random presses, holds and
drags of every binding but Escape, and fails if the blocks that the game's own
code holds grew between a reading after a warm-up and one at the end.
Usage: soak.py KOV_HEAP_COUNT SOURCE_DIR SECONDS   (KOV_SOAK_SEED=n repeats a run)"""

import os
import random
import re
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kovgame import Failure, Game, check, drag_args, wait_for  # noqa: E402

# As xdotool names them; both cases of the letters, two unbound keys last.
CHARACTERS = ("plus minus z l w 0 d s t f v p 1 2 3 4 j m n comma J M N semicolon y Y A a i "
              "Z L W D S T F V P I x question").split()
SPECIALS = [szShift + szKey for szShift in ("", "shift+", "ctrl+shift+")
            for szKey in ("Left", "Right", "Up", "Down", "Prior", "Next", "Home", "End", "Insert")]
HOLDS = ["Left", "Right", "Up", "Down", "Home", "End", "j", "m", "n", "comma", "J", "M"]
REPORT = re.compile(r"heap count: (\d+) live blocks")


def random_action(rng):
    """xdotool arguments of one random key press, hold, drag or pause."""
    fRoll = rng.random()
    if fRoll < 0.6:
        return ["key", rng.choice(CHARACTERS + SPECIALS)]
    if fRoll < 0.75:
        szKey = rng.choice(HOLDS)
        return ["keydown", szKey, "sleep", "%.2f" % rng.uniform(0.1, 1.2), "keyup", szKey]
    if fRoll < 0.9:
        points = [(rng.randrange(1024), rng.randrange(768)) for _ in range(rng.randrange(2, 8))]
        return drag_args(rng.choice((1, 2, 3)), points)
    return ["sleep", "%.2f" % rng.uniform(0.05, 0.3)]


def play(game, rng, fSeconds):
    fEnd, iActions = time.monotonic() + fSeconds, 0
    while time.monotonic() < fEnd and game.running():
        game.xdotool(*random_action(rng))
        iActions += 1
    return iActions


def live_blocks(game):
    """The game's count, written at its next buffer swap after the signal."""
    iReports = len(REPORT.findall(game.stderr()))
    game.proc.send_signal(signal.SIGUSR1)
    return int(wait_for(lambda: REPORT.findall(game.stderr())[iReports:], "the heap count")[0])


def main(szGame, szSourceDir, szSeconds):
    iSeed = int(os.environ.get("KOV_SOAK_SEED") or random.SystemRandom().randrange(1 << 31))
    fSeconds, rng = float(szSeconds), random.Random(iSeed)
    print("soak: %.0f s of random input, seed %d (KOV_SOAK_SEED)" % (fSeconds, iSeed), flush=True)
    try:
        with Game([os.path.abspath(szGame)], szSourceDir) as game:
            game.wait_window()
            game.wait_drawn()
            # Warm-up: every binding once, then random play, so that whatever
            # the game allocates for good on first use is there.
            game.xdotool("key", "--delay", "20", *CHARACTERS, *SPECIALS)
            for iButton in (1, 2, 3):
                game.xdotool(*drag_args(iButton, [(500, 400), (520, 410)]))
            play(game, rng, fSeconds / 5)
            iBefore = live_blocks(game)
            iActions = play(game, rng, fSeconds - fSeconds / 5)
            iAfter = live_blocks(game)
            print("soak: %d actions; the game's own live heap blocks: %d before them, %d after"
                  % (iActions, iBefore, iAfter))
            check(iBefore > 0, "the count misses the game's blocks")
            check(iAfter <= iBefore, "the game's live heap grew by %d blocks" % (iAfter - iBefore))
            game.quit()
    except Failure as failure:
        sys.exit("FAILED soak (seed %d): %s" % (iSeed, failure))
    print("passed soak")


if __name__ == "__main__":
    main(*sys.argv[1:])
