"""Fails on an include that goes up the Win32 layer's rooms, or on a file directly in
platform/win32/ that is no entry point, resource or build file. docs/ARCHITECTURE.md draws the
rooms; a room includes only the rooms below it."""

from __future__ import annotations

import re
import sys
from pathlib import Path

LAYER = Path(__file__).resolve().parents[1] / "platform" / "win32"
ROOMS = ["base", "display", "system", "text", "overlay", "main"]  # bottom to top
AT_THE_ROOT = {"winmain.cpp", "CMakeLists.txt"}
INCLUDE = re.compile(r'#include "platform/win32/([a-z_]+)/')


def main() -> int:
    faults = [f"{p.name}: directly in platform/win32/" for p in LAYER.iterdir()
              if p.is_file() and p.name not in AT_THE_ROOT]
    for room in ROOMS:
        for path in sorted((LAYER / room).glob("*.*")):
            for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                match = INCLUDE.match(line)
                if match and ROOMS.index(match[1]) > ROOMS.index(room):
                    faults.append(f"{room}/{path.name}:{number}: includes {match[1]}/, a room above")
    for fault in faults:
        print(fault)
    print(f"rooms: {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
