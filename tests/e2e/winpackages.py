"""The Windows packages under Wine, in a fresh prefix. Usage, with absolute paths:
winpackages.py packages ZIP SETUP SOURCE_DIR WINE_SH PREFIX"""

import getpass
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e import NO_GOAL, run  # noqa: E402
from kovgame import TIMEOUT, Game, run_case  # noqa: E402
from wine import game_window, printed  # noqa: E402

INSTALL_DIR = r"C:\Program Files\KOV Arbeit"
MENU_DIR = r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\KOV Arbeit"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KOV Arbeit"
PROGRAMS = ["kov.exe", "kov-play.exe", "kov-level-check.exe"]


def unix_path(szWindows):
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", szWindows[3:].replace("\\", "/"))


def read(szPath):
    with open(szPath, newline="") as text:
        return text.read()


def level_names(szSourceDir):
    index = read(os.path.join(szSourceDir, "data/levels/index.txt")).splitlines()
    return [line.split()[0] for line in index if line.strip() and not line.startswith("#")]


def shortcut_strings(szPath):
    """The string data of a shell link (.lnk) by name: name, relative, dir, args, icon."""
    data = open(szPath, "rb").read()
    iFlags, i, strings = struct.unpack_from("<I", data, 0x14)[0], 0x4C, {}
    if iFlags & 1:  # the target's item id list
        i += 2 + struct.unpack_from("<H", data, i)[0]
    if iFlags & 2:  # the link info
        i += struct.unpack_from("<I", data, i)[0]
    for iBit, szName in ((4, "name"), (8, "relative"), (16, "dir"), (32, "args"), (64, "icon")):
        if iFlags & iBit:
            iChars = struct.unpack_from("<H", data, i)[0]
            strings[szName] = data[i + 2:i + 2 + 2 * iChars].decode("utf-16-le").rstrip("\0")  # Wine counts the NUL
            i += 2 + 2 * iChars
    return strings


def registry_values(szWine, szKey):
    """The values of a registry key as text, or None without the key."""
    result = subprocess.run([szWine, "reg", "query", szKey], capture_output=True, text=True, timeout=TIMEOUT)
    return None if result.returncode else {
        fields[0]: fields[2] for fields in (line.strip().split(None, 2) for line in result.stdout.splitlines())
        if len(fields) == 3 and fields[1].startswith("REG_")}


def play(command, szTemp):
    """Plays through the launcher until the window shows, then Escape with status 0: what it wrote on stderr
    and the level its private directory held, which must be gone after."""
    def private():
        return [szName for szName in os.listdir(szTemp) if szName.startswith("kov-play.")]
    with Game(command) as game:
        game_window(game)
        assert len(private()) == 1, "private directories: %s" % private()
        szLevel = read(os.path.join(szTemp, private()[0], "data/field.txt"))
        game.quit()
        assert private() == [], "the private directory outlives the game"
        return printed(game), szLevel


def check_zip(szZip, szSourceDir, szDir):
    """The zip's files against the list, its texts with Windows line ends; unpacked into szDir."""
    with zipfile.ZipFile(szZip) as archive:
        archive.extractall(szDir)
        szTop = os.path.basename(szZip)[:-4] + "/"
        expected = PROGRAMS + ["README.txt", "COPYRIGHT.txt", "data/field.txt", "data/levels/index.txt"] + [
            "data/%s.bmp" % szName for szName in ("wood", "wall", "hole", "start", "ziel", "save")] + [
            "data/levels/%s.txt" % szName for szName in level_names(szSourceDir)]
        assert sorted(szName for szName in archive.namelist() if not szName.endswith("/")) == sorted(
            szTop + szName for szName in expected), "the zip holds %s" % archive.namelist()
        for szText in ("README.txt", "COPYRIGHT.txt"):
            text = archive.read(szTop + szText)
            assert text.count(b"\n") > 5 and text.count(b"\n") == text.count(b"\r\n"), szText
        # A link would reach Windows as a file holding its target's name.
        assert archive.read(szTop + "data/levels/classic.txt") == archive.read(szTop + "data/field.txt")
    return os.path.join(szDir, szTop)


def check_launcher(szWine, szPlay, szSourceDir, szTemp):
    """kov-play.exe: --list, a missing level, a level by name and a level file."""
    assert [line.split()[0] for line in run(szWine, szPlay, "--list").splitlines()] == level_names(szSourceDir)
    missing = subprocess.run([szWine, szPlay, "no-such-level"], capture_output=True, text=True, timeout=TIMEOUT)
    assert missing.returncode == 1 and missing.stderr.startswith("kov-play: no-such-level: no such level file") \
        and len(missing.stderr.splitlines()) == 1, "a missing level: %s %r" % (missing.returncode, missing.stderr)
    with open(szFile := os.path.join(os.path.dirname(szPlay), "no-goal.txt"), "w") as level:
        level.write(NO_GOAL)
    for szLevel, szText, szErrors in (("spiral", read(os.path.join(szSourceDir, "data/levels/spiral.txt")), ""),
                                      ("Z:" + szFile, NO_GOAL, "error: no goal cell 'Z'\n")):
        assert play([szWine, szPlay, szLevel], szTemp) == (szErrors, szText), szLevel


def check_installer(szWine, szSetup, szTemp):
    """/S installs per machine with a Start-menu entry and an uninstall entry; the uninstaller's /S removes all."""
    run(szWine, szSetup, "/S")
    szInstalled, szMenu = unix_path(INSTALL_DIR), unix_path(MENU_DIR)
    assert sorted(os.listdir(szInstalled)) == sorted(PROGRAMS + ["COPYRIGHT.txt", "README.txt", "Uninstall.exe",
                                                                 "data"]), os.listdir(szInstalled)
    link = shortcut_strings(os.path.join(szMenu, "KOV Arbeit.lnk"))
    assert link["dir"] == INSTALL_DIR and link["icon"] == INSTALL_DIR + r"\kov.exe", link
    entry = registry_values(szWine, UNINSTALL_KEY)
    iKiB = sum(os.path.getsize(os.path.join(szDir, szFile)) for szDir, _, files in os.walk(szInstalled)
               for szFile in files) // 1024
    assert entry and (entry["DisplayName"], entry["DisplayVersion"], entry["Publisher"], entry["DisplayIcon"]) == (
        "KOV Arbeit", "1.0.0", "KOV Arbeit", INSTALL_DIR + r"\kov.exe") and \
        abs(int(entry["EstimatedSize"], 16) - iKiB) <= 2, "uninstall entry %s for %d KiB" % (entry, iKiB)

    play([szWine, os.path.join(szInstalled, "kov-play.exe"), "spiral"], szTemp)
    # The shortcut starts the game itself: its window, not a box about a missing level, shows its folder.
    with Game([szWine, "start", "/unix", os.path.join(szMenu, "KOV Arbeit.lnk")]) as game:
        game_window(game)
        game.xdotool("key", "Escape")
        run("wineserver", "-w")
    # The uninstaller runs on in a copy of itself: wait for every Wine process.
    run(szWine, os.path.join(szInstalled, "Uninstall.exe"), "/S")
    run("wineserver", "-w")
    assert not os.path.exists(szInstalled) and not os.path.exists(szMenu) and \
        registry_values(szWine, UNINSTALL_KEY) is None, "files, shortcut or entry left after uninstalling"


def case_packages(szZip, szSetup, szSourceDir, szWine, szPrefix):
    shutil.rmtree(szPrefix, ignore_errors=True)
    os.environ.update(KOV_WINE_PREFIX=szPrefix, WINEPREFIX=szPrefix)
    szTemp = unix_path(r"C:\users\%s\Temp" % getpass.getuser())
    try:
        with tempfile.TemporaryDirectory() as szDir:
            check_launcher(szWine, os.path.join(check_zip(szZip, szSourceDir, szDir), "kov-play.exe"), szSourceDir,
                           szTemp)
            check_installer(szWine, szSetup, szTemp)
    finally:
        subprocess.run(["wineserver", "-k"])


if __name__ == "__main__":
    run_case(globals())
