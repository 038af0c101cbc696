"""Soak test: plays the game with random presses, holds and drags of every
binding but Escape, then checks that it still redraws, that its memory stays
flat and that Escape still ends it cleanly.

The GL driver compiles and keeps a program for every combination of switches
(lights, lighting, texturing, shading, ...) the first time it draws one, and
there are thousands of combinations: resident memory grows for as long as the
play finds new ones, whatever the game does. So the soak plays in three passes
of equal length. The first plays random input and records it, then switches
everything back as it was at the start; the other two replay the same input,
so the driver meets no combination it has not seen. The C library's heap still
reaches its high-water mark during the first replay (about 1 MiB more in a
short soak, then nothing), so the last replay is the one measured: it must not
grow the memory by 2 MiB, since what grows there grows with playing time.

Usage: soak.py KOV_BINARY SOURCE_DIR SECONDS   (seed: KOV_SOAK_SEED)"""

import os
import random
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import kovgame  # noqa: E402
from kovgame import XServer, check  # noqa: E402

# Every binding but Escape, as xdotool key names, and two unbound keys.
# Letters come in both cases: some differ by case (j/J, y/Y, a/A), the others must not.
CHARACTER_KEYS = ["plus", "minus", "z", "l", "w", "0", "d", "s", "t", "f", "v", "p", "1", "2", "3", "4",
                  "j", "m", "n", "comma", "J", "M", "N", "semicolon", "y", "Y", "A", "a", "i",
                  "Z", "L", "W", "D", "S", "T", "F", "V", "P", "I", "x", "question"]
SPECIAL_KEYS = ["Left", "Right", "Up", "Down", "Prior", "Next", "Home", "End", "Insert"]
ARROWS = ["Left", "Right", "Up", "Down"]
KEYS = (CHARACTER_KEYS + SPECIAL_KEYS + ["shift+" + k for k in ARROWS] + ["ctrl+shift+" + k for k in ARROWS]
        + ["shift+" + k for k in ("Prior", "Next", "Home", "End", "Insert")])
# Held keys repeat as often as the timing allows, so none of them may change
# what the model below keeps track of.
HOLD_KEYS = ARROWS + ["Home", "End", "j", "m", "n", "comma", "J", "M"]

TOGGLE_KEYS = ["z", "l", "w", "0", "d", "s", "t", "f", "v", "p"]
LIGHT_KEYS = ["1", "2", "3", "4"]
SPOT_CUTOFF_START = 90
SLICES_START = 32
FAR_START = 100
# Shift + arrow: the camera centre's step along x and z, in tenths.
CENTRE_STEPS = {"Left": (-1, 0), "Right": (1, 0), "Up": (0, -1), "Down": (0, 1)}

PASSES = 3
RSS_GROWTH_LIMIT_KIB = 2048
REPORT_SECONDS = float(os.environ.get("KOV_SOAK_REPORT_SECONDS", "60"))

# The part "FPS:" of the frame-rate text; the digits after it change.
FPS_LABEL = (920, 0, 964, 30)


def is_text_blue(r, g, b):
    # The overlay draws unlit, untextured, opaque blue.
    return r < 10 and g < 10 and b > 245


class CState:
    """What the pressed keys have made of the switches, the lights, the spot
    cut-off, the ball's tessellation, the clipping distances and the camera
    centre, counted from the start: all that decides which programs the GL
    driver compiles and how much geometry a frame holds."""

    def __init__(self):
        self.toggled = {szKey: False for szKey in TOGGLE_KEYS}
        self.lightToggled = [False] * len(LIGHT_KEYS)
        self.iLight = 0
        self.iSpotCutoff = SPOT_CUTOFF_START
        self.iSlices = SLICES_START
        self.iNearSteps = 0  # the near distance is 0.1 plus this
        self.iFar = FAR_START
        self.centre = [0, 0]

    def press(self, szKey):
        szBase = szKey.split("+")[-1]
        if szKey.startswith("shift+") and szBase in CENTRE_STEPS:
            self.centre = [c + d for c, d in zip(self.centre, CENTRE_STEPS[szBase])]
        elif len(szBase) == 1 and szBase.lower() in self.toggled:
            self.toggled[szBase.lower()] = not self.toggled[szBase.lower()]
        elif szBase in LIGHT_KEYS:
            self.iLight = LIGHT_KEYS.index(szBase)
        elif szBase == "Insert":
            self.lightToggled[self.iLight] = not self.lightToggled[self.iLight]
        elif szBase == "Prior":
            self.iSpotCutoff = min(self.iSpotCutoff + 1, 180)
        elif szBase == "Next":
            self.iSpotCutoff = max(self.iSpotCutoff - 1, 10)
        elif szBase == "plus":
            self.iSlices += 1
        elif szBase == "minus" and self.iSlices >= 10:
            self.iSlices -= 1
        elif szBase == "y":
            self.iNearSteps += 1
        elif szBase == "Y" and self.iNearSteps >= 1:
            self.iNearSteps -= 1
        elif szBase == "A":
            self.iFar += 1
        elif szBase == "a" and self.iFar > 1:
            self.iFar -= 1

    def keys_back_to_start(self):
        """Presses that bring everything counted here back to the start, and
        the orbit and distance with I."""
        keys = [szKey for szKey, bToggled in self.toggled.items() if bToggled]
        for i, bToggled in enumerate(self.lightToggled):
            if bToggled:
                keys += [LIGHT_KEYS[i], "Insert"]
        keys.append(LIGHT_KEYS[0])
        keys += counted_steps(self.iSpotCutoff - SPOT_CUTOFF_START, "Next", "Prior")
        keys += counted_steps(self.iSlices - SLICES_START, "minus", "plus")
        keys += ["Y"] * self.iNearSteps
        keys += counted_steps(self.iFar - FAR_START, "a", "A")
        keys += counted_steps(self.centre[0], "shift+Left", "shift+Right")
        keys += counted_steps(self.centre[1], "shift+Up", "shift+Down")
        return keys + ["i"]


def counted_steps(iSteps, szDown, szUp):
    """iSteps presses of szDown when iSteps is positive, else -iSteps of szUp."""
    return [szDown] * iSteps if iSteps > 0 else [szUp] * -iSteps


class CPlayer:
    """Plays actions on the game: ("key", name), ("hold", name, seconds),
    ("drag", button, points) and ("pause", seconds)."""

    def __init__(self, game):
        self.game = game
        self.counts = {"key": 0, "hold": 0, "drag": 0, "pause": 0}

    def play(self, action):
        szKind = action[0]
        if szKind == "key":
            self.game.key(action[1])
        elif szKind == "hold":
            self.game.key_down(action[1])
            try:
                time.sleep(action[2])
            finally:
                self.game.key_up(action[1])
        elif szKind == "drag":
            self.game.drag(action[1], action[2])
        else:
            time.sleep(action[1])
        self.counts[szKind] += 1
        check(self.game.running(), "the game ended during the soak (status %s): %s"
              % (self.game.proc.returncode, self.game.stderr_text()))


def random_action(rng):
    fRoll = rng.random()
    if fRoll < 0.6:
        return ("key", rng.choice(KEYS))
    if fRoll < 0.75:
        return ("hold", rng.choice(HOLD_KEYS), round(rng.uniform(0.1, 1.2), 2))
    if fRoll < 0.9:
        points = [(rng.randrange(kovgame.WINDOW_WIDTH), rng.randrange(kovgame.WINDOW_HEIGHT))]
        for _ in range(rng.randrange(1, 8)):
            x, y = points[-1]
            points.append((min(max(x + rng.randrange(-150, 151), 0), kovgame.WINDOW_WIDTH - 1),
                           min(max(y + rng.randrange(-150, 151), 0), kovgame.WINDOW_HEIGHT - 1)))
        return ("drag", rng.choice((1, 2, 3)), points)
    return ("pause", round(rng.uniform(0.05, 0.3), 2))


class CMemoryLog:
    def __init__(self, game, fStart):
        self.game = game
        self.fStart = fStart
        self.fNextReport = fStart + REPORT_SECONDS
        self.iPeak = 0

    def sample(self):
        iRss = self.game.rss_kib()
        self.iPeak = max(self.iPeak, iRss)
        if time.monotonic() >= self.fNextReport:
            self.fNextReport += REPORT_SECONDS
            print("soak: %4.0f s, VmRSS %d KiB" % (time.monotonic() - self.fStart, iRss), flush=True)
        return iRss


def label_shown(image, label):
    return sum(1 for x, y in label if is_text_blue(*image.pixel(x, y))) > 0.9 * len(label)


def label_hidden(image, label):
    return sum(1 for x, y in label if is_text_blue(*image.pixel(x, y))) < 0.5 * len(label)


def learn_fps_label(game):
    """The pixels of "FPS:" in the start view, where nothing else is blue."""
    game.key("f")
    image = game.wait_picture(lambda im: im.count(*FPS_LABEL, is_text_blue) > 40, "the frame-rate text")
    label = [(x, y) for x, y, r, g, b in image.rect(*FPS_LABEL) if is_text_blue(r, g, b)]
    game.key("f")
    game.wait_picture(lambda im: label_hidden(im, label), "the frame-rate text to go")
    return label


def check_redraws(game, label):
    """F still toggles the overlay both ways, whatever state the soak left."""
    bShown = label_shown(game.screenshot(), label)
    for bWant in (not bShown, bShown):
        game.key("f")
        game.wait_picture(lambda im: label_shown(im, label) if bWant else label_hidden(im, label),
                          "the frame-rate text to %s" % ("appear" if bWant else "go"), 60.0)


def soak(game, fSeconds, rng):
    player = CPlayer(game)
    fStart = time.monotonic()
    memory = CMemoryLog(game, fStart)
    iRssStart = memory.sample()

    # First pass: random play, recorded, then everything back to its start.
    state = CState()
    recorded = []
    while time.monotonic() - fStart < fSeconds / PASSES:
        action = random_action(rng)
        if action[0] == "key":
            state.press(action[1])
        player.play(action)
        recorded.append(action)
        memory.sample()
    for szKey in state.keys_back_to_start():
        player.play(("key", szKey))
        recorded.append(("key", szKey))
    rssAfterPass = [memory.sample()]

    # The same play again, over switch combinations already drawn.
    for _ in range(PASSES - 1):
        for action in recorded:
            player.play(action)
            memory.sample()
        rssAfterPass.append(memory.sample())

    print("soak: %d presses, %d holds, %d drags, %d pauses in %.0f s"
          % (player.counts["key"], player.counts["hold"], player.counts["drag"], player.counts["pause"],
             time.monotonic() - fStart))
    iGrowth = rssAfterPass[-1] - rssAfterPass[-2]
    print("soak: VmRSS %d KiB at the start, %s KiB after each pass (%+d KiB in the last), peak %d KiB"
          % (iRssStart, ", ".join(str(i) for i in rssAfterPass), iGrowth, memory.iPeak), flush=True)
    return iGrowth


def main(argv):
    if len(argv) != 4:
        sys.stderr.write("usage: soak.py KOV_BINARY SOURCE_DIR SECONDS\n")
        return 2
    szBinary, szSourceDir, fSeconds = os.path.abspath(argv[1]), os.path.abspath(argv[2]), float(argv[3])
    iSeed = int(os.environ.get("KOV_SOAK_SEED", random.SystemRandom().randrange(1 << 31)))
    print("soak: %.0f s of random input in %d passes, seed %d (KOV_SOAK_SEED)" % (fSeconds, PASSES, iSeed),
          flush=True)
    try:
        with XServer() as xserver, kovgame.start_in_data_copy(szBinary, szSourceDir, xserver) as game:
            game.wait_window()
            game.wait_first_frame()
            label = learn_fps_label(game)
            iGrowth = soak(game, fSeconds, random.Random(iSeed))
            check_redraws(game, label)
            check(iGrowth < RSS_GROWTH_LIMIT_KIB, "resident memory grew by %d KiB in the last pass" % iGrowth)
            game.key("Escape")
            iStatus = game.wait_exit(kovgame.CHANGE_TIMEOUT)
            check(iStatus == 0, "Escape ended the game with status %s: %s" % (iStatus, game.stderr_text()))
    except kovgame.E2eFailure as failure:
        sys.stderr.write("FAILED soak (seed %d): %s\n" % (iSeed, failure))
        return 1
    print("passed soak")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
