#!/usr/bin/env python3
"""Fetches and unpacks the Debian source package of an installed package, at the installed version,
through a private apt set-up in WORKDIR: the machine's package lists and /etc/apt stay untouched.
Usage: debian-source.py BINARY_PACKAGE WORKDIR      prints the unpacked source tree's path.
The deb-src line is the machine's own archive and release, read from its apt sources."""

import glob
import os
import re
import subprocess
import sys


def installed_source(szBinary):
    """(source package, source version) of an installed binary package."""
    szOut = subprocess.run(["dpkg-query", "-W", "-f=${source:Package} ${source:Version}", szBinary],
                           capture_output=True, text=True, check=True).stdout
    return tuple(szOut.split())


def release():
    with open("/etc/os-release") as osRelease:
        return re.search(r"^VERSION_CODENAME=(\S+)", osRelease.read(), re.M)[1]


def one_line_entries(szText):
    """(uri, suite, components, options) of the "deb" lines of a sources.list."""
    for line in szText.splitlines():
        match = re.match(r"\s*deb\s+(\[[^]]*\]\s+)?(\S+)\s+(\S+)\s+(.+)", line)
        if match:
            yield match[2], match[3], match[4].split("#")[0].strip(), (match[1] or "").strip()


def deb822_entries(szText):
    """The same of the deb822 stanzas of Types "deb"; Signed-By becomes the option."""
    for szStanza in re.split(r"\n\s*\n", szText):
        fields = dict(re.findall(r"^([\w-]+):\s*(.*)$", szStanza, re.M))
        if "deb" not in fields.get("Types", "").split() or fields.get("Enabled", "yes") == "no":
            continue
        szOptions = "[signed-by=%s]" % fields["Signed-By"] if "Signed-By" in fields else ""
        for szUri in fields.get("URIs", "").split():
            for szSuite in fields.get("Suites", "").split():
                yield szUri, szSuite, fields.get("Components", ""), szOptions


def machine_entries():
    for szPath in ["/etc/apt/sources.list"] + sorted(glob.glob("/etc/apt/sources.list.d/*.list")):
        if os.path.exists(szPath):
            with open(szPath) as sources:
                yield from one_line_entries(sources.read())
    for szPath in sorted(glob.glob("/etc/apt/sources.list.d/*.sources")):
        with open(szPath) as sources:
            yield from deb822_entries(sources.read())


def private_sources_line():
    szRelease = release()
    for szUri, szSuite, szComponents, szOptions in machine_entries():
        if szSuite == szRelease:
            return " ".join(filter(None, ["deb-src", szOptions, szUri, szSuite, szComponents]))
    sys.exit("no apt source of release %s on this machine" % szRelease)


def main(szBinary, szWorkDir):
    szSource, szVersion = installed_source(szBinary)
    szUpstream = re.sub(r"^\d+:", "", szVersion).rsplit("-", 1)[0]
    szTree = os.path.join(os.path.abspath(szWorkDir), "%s-%s" % (szSource, szUpstream))
    if os.path.isdir(szTree):
        print(szTree)
        return
    szApt = os.path.join(os.path.abspath(szWorkDir), "apt")
    for szDir in ("lists/partial", "cache/archives/partial"):
        os.makedirs(os.path.join(szApt, szDir), exist_ok=True)
    with open(os.path.join(szApt, "sources.list"), "w") as sources:
        sources.write(private_sources_line() + "\n")
    options = ["-o", "Dir::Etc::SourceList=" + os.path.join(szApt, "sources.list"),
               "-o", "Dir::Etc::SourceParts=/dev/null",
               "-o", "Dir::State::Lists=" + os.path.join(szApt, "lists"),
               "-o", "Dir::Cache=" + os.path.join(szApt, "cache"),
               "-o", "APT::Sandbox::User=root", "-qq"]
    subprocess.run(["apt-get", *options, "update"], check=True, stdout=sys.stderr)
    subprocess.run(["apt-get", *options, "source", "--download-only", "%s=%s" % (szSource, szVersion)],
                   cwd=szWorkDir, check=True, stdout=sys.stderr)
    # Unpacking checks every file's size and checksums against the .dsc, and fails on a mismatch.
    szDsc = "%s_%s.dsc" % (szSource, re.sub(r"^\d+:", "", szVersion))
    subprocess.run(["dpkg-source", "--no-copy", "-x", szDsc, szTree], cwd=szWorkDir, check=True,
                   stdout=sys.stderr)
    print(szTree)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(*sys.argv[1:])
