"""Installs the build into a scratch prefix, starts the game through its
launcher from an unrelated directory and builds the Debian package.
Usage: install_test.py BUILD_DIR SOURCE_DIR CMAKE CPACK"""

import filecmp
import glob
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import kovgame  # noqa: E402
from kovgame import XServer, check  # noqa: E402

DATA_FILES = ["field.txt", "wood.bmp", "wall.bmp", "hole.bmp", "start.bmp", "ziel.bmp", "save.bmp"]


def run(args, **kwargs):
    result = subprocess.run(args, capture_output=True, text=True, timeout=300, **kwargs)
    check(result.returncode == 0, "%s failed:\n%s%s" % (" ".join(args), result.stdout, result.stderr))
    return result.stdout


def check_installed(szPrefix, szSourceDir):
    szLauncher = os.path.join(szPrefix, "bin/kov-play")
    check(os.access(szLauncher, os.X_OK), "no executable bin/kov-play")
    check(os.access(os.path.join(szPrefix, "libexec/kov/kov"), os.X_OK), "no executable libexec/kov/kov")
    check(os.access(os.path.join(szPrefix, "bin/kov-level-check"), os.X_OK), "no bin/kov-level-check")
    for szName in DATA_FILES:
        szInstalled = os.path.join(szPrefix, "share/kov/data", szName)
        check(os.path.isfile(szInstalled), "no share/kov/data/%s" % szName)
        check(filecmp.cmp(szInstalled, os.path.join(szSourceDir, "data", szName), shallow=False),
              "share/kov/data/%s differs from data/%s" % (szName, szName))
    return szLauncher


def play_through_launcher(szLauncher):
    """The launcher finds the data from any working directory; the game runs and quits."""
    with XServer() as xserver, tempfile.TemporaryDirectory() as szElsewhere, \
            kovgame.Game(xserver, [szLauncher], szElsewhere) as game:
        game.wait_window()
        game.wait_first_frame()
        game.key("Escape")
        iStatus = game.wait_exit(kovgame.CHANGE_TIMEOUT)
        check(iStatus == 0, "the installed game ended with status %s: %s" % (iStatus, game.stderr_text()))
        check(game.stderr_text() == "", "the installed game complained: %s" % game.stderr_text())


def check_package(szBuildDir, szCpack):
    with tempfile.TemporaryDirectory() as szOut:
        run([szCpack, "-G", "DEB", "-B", szOut, "--config", os.path.join(szBuildDir, "CPackConfig.cmake")])
        packages = glob.glob(os.path.join(szOut, "*.deb"))
        check(len(packages) == 1, "expected one package, found %s" % packages)
        szDepends = run(["dpkg-deb", "-f", packages[0], "Depends"])
        for szLibrary in ("libglut", "libglu", "libc6"):
            check(szLibrary in szDepends, "the package does not depend on %s: %s" % (szLibrary, szDepends))
        szContents = run(["dpkg-deb", "-c", packages[0]])
        for szPath in ["./usr/bin/kov-play", "./usr/libexec/kov/kov"] + \
                      ["./usr/share/kov/data/" + szName for szName in DATA_FILES]:
            check(szPath in szContents, "the package lacks %s" % szPath)


def main(argv):
    if len(argv) != 5:
        sys.stderr.write("usage: install_test.py BUILD_DIR SOURCE_DIR CMAKE CPACK\n")
        return 2
    szBuildDir, szSourceDir, szCmake, szCpack = (os.path.abspath(a) for a in argv[1:])
    try:
        with tempfile.TemporaryDirectory() as szPrefix:
            run([szCmake, "--install", szBuildDir, "--prefix", szPrefix])
            play_through_launcher(check_installed(szPrefix, szSourceDir))
        check_package(szBuildDir, szCpack)
    except kovgame.E2eFailure as failure:
        sys.stderr.write("FAILED install: %s\n" % failure)
        return 1
    print("passed install")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
