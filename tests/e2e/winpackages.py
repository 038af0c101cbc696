"""The Windows packages under Wine, in a fresh prefix inside the build tree. Usage, with absolute paths:
winpackages.py ZIP SETUP SOURCE_DIR PREFIX"""

import getpass
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e import NO_GOAL, play_level, run  # noqa: E402
from kovgame import TIMEOUT, Game, wait_for  # noqa: E402

INSTALL_DIR = r"C:\Program Files\KOV Arbeit"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KOV Arbeit"
PROGRAMS = ["kov.exe", "kov-play.exe", "kov-level-check.exe"]


def unix_path(szPrefix, szWindows):
    return os.path.join(szPrefix, "drive_c", szWindows[3:].replace("\\", "/"))


def level_names(szSourceDir):
    with open(os.path.join(szSourceDir, "data/levels/index.txt")) as index:
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


def registry_values(szKey):
    """The values of a registry key as text, or None without the key."""
    result = subprocess.run(["wine", "reg", "query", szKey], capture_output=True, text=True, timeout=TIMEOUT)
    return None if result.returncode else {
        fields[0]: fields[2] for fields in (line.strip().split(None, 2) for line in result.stdout.splitlines())
        if len(fields) == 3 and fields[1].startswith("REG_")}


def check_zip(szZip, szSourceDir, szDir):
    """The zip's files against the list, and its texts with Windows line ends; unpacked into szDir."""
    with zipfile.ZipFile(szZip) as archive:
        archive.extractall(szDir)
        szTop = os.path.basename(szZip)[:-4] + "/"
        expected = PROGRAMS + ["README.txt", "COPYRIGHT.txt", "data/field.txt", "data/levels/index.txt"] + [
            "data/%s.bmp" % szName for szName in ("wood", "wall", "hole", "start", "ziel", "save")] + [
            "data/levels/%s.txt" % szName for szName in level_names(szSourceDir)]
        files = [szName for szName in archive.namelist() if not szName.endswith("/")]
        assert sorted(files) == sorted(szTop + szName for szName in expected), "the zip holds %s" % files
        for szText in ("README.txt", "COPYRIGHT.txt"):
            text = archive.read(szTop + szText)
            assert text.count(b"\n") > 5 and text.count(b"\n") == text.count(b"\r\n"), szText
        # A link would reach Windows as a file holding its target's name.
        assert archive.read(szTop + "data/levels/classic.txt") == archive.read(szTop + "data/field.txt")
    return os.path.join(szDir, szTop)


def check_launcher(szPlay, szSourceDir, szTemp):
    """kov-play.exe: --list, a missing level, a level by name and a level file, each directory gone after."""
    assert [line.split()[0] for line in run("wine", szPlay, "--list").splitlines()] == level_names(szSourceDir)
    missing = subprocess.run(["wine", szPlay, "no-such-level"], capture_output=True, text=True, timeout=TIMEOUT)
    assert missing.returncode == 1 and missing.stderr.startswith("kov-play: no-such-level: no such level file") \
        and len(missing.stderr.splitlines()) == 1, "a missing level: %s %r" % (missing.returncode, missing.stderr)
    szFile = os.path.join(os.path.dirname(szPlay), "no-goal.txt")
    with open(szFile, "w") as level:
        level.write(NO_GOAL)
    for szLevel, szText, szErrors in (("spiral", open(os.path.join(szSourceDir, "data/levels/spiral.txt")).read(),
                                       ""), ("Z:" + szFile, NO_GOAL, "error: no goal cell 'Z'\n")):
        _, szPrinted, szPlayed = play_level(["wine", szPlay, szLevel], szTemp)
        assert (szPlayed, szPrinted) == (szText, szErrors), "%s: %r, %r" % (szLevel, szPlayed, szPrinted)


def check_installer(szSetup, szPrefix, szTemp):
    """/S installs per machine with a Start-menu entry and an uninstall entry; the uninstaller's /S removes all."""
    run("wine", szSetup, "/S")
    szInstalled = unix_path(szPrefix, INSTALL_DIR)
    assert sorted(os.listdir(szInstalled)) == sorted(PROGRAMS + ["COPYRIGHT.txt", "README.txt", "Uninstall.exe",
                                                                 "data"]), os.listdir(szInstalled)
    szMenu = unix_path(szPrefix, r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\KOV Arbeit")
    link = shortcut_strings(os.path.join(szMenu, "KOV Arbeit.lnk"))
    assert link["dir"] == INSTALL_DIR and link["icon"] == INSTALL_DIR + r"\kov.exe", link
    entry = registry_values(UNINSTALL_KEY)
    iKiB = sum(os.path.getsize(os.path.join(szDir, szFile)) for szDir, _, files in os.walk(szInstalled)
               for szFile in files) // 1024
    assert entry and (entry["DisplayName"], entry["DisplayVersion"], entry["Publisher"], entry["DisplayIcon"]) == (
        "KOV Arbeit", "1.0.0", "KOV Arbeit", INSTALL_DIR + r"\kov.exe") and \
        abs(int(entry["EstimatedSize"], 16) - iKiB) <= 2, "uninstall entry %s for %d KiB" % (entry, iKiB)

    play_level(["wine", os.path.join(szInstalled, "kov-play.exe"), "spiral"], szTemp)
    # The uninstaller runs on in a copy of itself: wait for every Wine process.
    run("wine", os.path.join(szInstalled, "Uninstall.exe"), "/S")
    run("wineserver", "-w")
    assert not os.path.exists(szInstalled) and not os.path.exists(szMenu) and registry_values(UNINSTALL_KEY) is None


def main(szZip, szSetup, szSourceDir, szPrefix):
    shutil.rmtree(szPrefix, ignore_errors=True)
    os.environ.update(WINEPREFIX=szPrefix, WINEDEBUG="-all", WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml=")
    run("wineboot", "-i")
    szTemp = unix_path(szPrefix, r"C:\users\%s\Temp" % getpass.getuser())
    wait_for(lambda: os.path.isdir(szTemp), "the prefix's temporary folder")
    with tempfile.TemporaryDirectory() as szDir:
        check_launcher(os.path.join(check_zip(szZip, szSourceDir, szDir), "kov-play.exe"), szSourceDir, szTemp)
    check_installer(szSetup, szPrefix, szTemp)


if __name__ == "__main__":
    try:
        main(*sys.argv[1:])
    except AssertionError as failure:
        sys.exit("FAILED: %s" % failure)
    finally:
        subprocess.run(["wineserver", "-k"], env=os.environ)
    print("passed")
