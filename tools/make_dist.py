#!/usr/bin/env python3
"""Packs a release: <out>/Pelvanto-<version>-win64.zip holding Pelvanto.exe, both READMEs and
the licence, and <out>/SHA256SUMS for the zip and the exe (a copy of which sits beside them,
so `sha256sum -c SHA256SUMS` checks both).

The version is the one CMake configured the build with (project VERSION in CMakeLists.txt).
The same inputs give the same zip byte for byte: fixed entry order, modes and times (the time
of the last commit, or SOURCE_DATE_EPOCH, or 1980-01-01 outside a clone).

Usage: make_dist.py [--build build/mingw] [--out build/dist]
"""

from __future__ import annotations

import argparse
import hashlib
import os
import re
import shutil
import subprocess
import sys
import time
import zipfile
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
DOCUMENTS = ("README.md", "README.zh-CN.md", "LICENSE")
ZIP_EPOCH = 315532800  # 1980-01-01, the earliest time a zip can hold


def version(build: Path) -> str:
    cache = (build / "CMakeCache.txt").read_text(encoding="utf-8")
    found = re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(\S+)$", cache, re.M)
    if not found:
        raise SystemExit(f"make_dist: no project version in {build / 'CMakeCache.txt'}")
    return found.group(1)


def source_time() -> int:
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        out = subprocess.run(["git", "-C", str(REPO), "log", "-1", "--format=%ct"], check=True,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True).stdout
        return int(out.strip())
    except (OSError, subprocess.CalledProcessError, ValueError):
        return ZIP_EPOCH


def sha256(path: Path) -> str:
    return hashlib.sha256(path.read_bytes()).hexdigest()


def pack(exe: Path, ver: str, out: Path, when: int) -> Path:
    out.mkdir(parents=True, exist_ok=True)
    archive = out / f"Pelvanto-{ver}-win64.zip"
    stamp = time.gmtime(max(when, ZIP_EPOCH))[:6]
    entries = [("Pelvanto.exe", exe)] + [(name, REPO / name) for name in DOCUMENTS]
    # Written aside and moved into place: a failed run leaves no half zip behind.
    partial = archive.with_suffix(".zip.partial")
    with zipfile.ZipFile(partial, "w") as zf:
        for name, path in sorted(entries):
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.create_system = 0  # MS-DOS: no Unix modes of this machine's umask
            info.external_attr = 0
            info.compress_type = zipfile.ZIP_DEFLATED
            zf.writestr(info, path.read_bytes(), compresslevel=9)
    partial.replace(archive)
    shutil.copyfile(exe, out / "Pelvanto.exe")
    (out / "SHA256SUMS").write_text(
        f"{sha256(archive)}  {archive.name}\n{sha256(exe)}  Pelvanto.exe\n", encoding="ascii")
    return archive


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", type=Path, default=REPO / "build" / "mingw")
    parser.add_argument("--out", type=Path, default=REPO / "build" / "dist")
    args = parser.parse_args()
    exe = args.build / "Pelvanto.exe"
    missing = [p for p in [exe] + [REPO / n for n in DOCUMENTS] if not p.is_file()]
    if missing:
        print("make_dist: missing " + ", ".join(map(str, missing)), file=sys.stderr)
        return 1
    archive = pack(exe, version(args.build), args.out, source_time())
    print(f"{archive}\n{(args.out / 'SHA256SUMS').read_text()}", end="")
    return 0


if __name__ == "__main__":
    sys.exit(main())
