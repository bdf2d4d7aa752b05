"""Pelvanto.exe must start on Windows 7 SP1: its import table names no DLL that Windows 7 SP1
lacks, and none of the DPI calls of Windows 8.1 and 10, which the program finds at run time."""

from __future__ import annotations

import os
import re
import subprocess
import sys
import unittest
from pathlib import Path

WIN_BUILD_DIR = Path(os.environ.get("PELVANTO_WIN_BUILD_DIR")
                     or Path(__file__).resolve().parents[2] / "build" / "mingw")

# System DLLs of Windows 7 SP1 that a program like this one may import.
WINDOWS7_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "comctl32.dll",
                 "dwmapi.dll", "uxtheme.dll", "psapi.dll", "wtsapi32.dll", "advapi32.dll",
                 "ole32.dll", "msvcrt.dll"}
# Calls that Windows 7 lacks; the program resolves the DPI ones itself.
NEWER_CALLS = {"SetProcessDpiAwarenessContext", "GetDpiForWindow", "GetSystemMetricsForDpi",
               "AdjustWindowRectExForDpi", "SetProcessDpiAwareness", "GetDpiForMonitor",
               "GetDpiForSystem", "EnableNonClientDpiScaling", "SystemParametersInfoForDpi",
               "GetSystemTimePreciseAsFileTime"}


def imports(exe: Path) -> dict[str, set[str]]:
    """DLL name (lower case) -> names of the calls imported from it."""
    out = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", str(exe)], check=True,
                         stdout=subprocess.PIPE, text=True).stdout
    table: dict[str, set[str]] = {}
    current = None
    for line in out.splitlines():
        dll = re.match(r"\s*DLL Name: (\S+)", line)
        if dll:
            current = table.setdefault(dll.group(1).lower(), set())
            continue
        call = re.match(r"\s*[0-9a-f]+\s+\d+\s+(\w+)\s*$", line)
        if call and current is not None:
            current.add(call.group(1))
    return table


class ImportTable(unittest.TestCase):

    def test_pelvanto_imports_only_what_windows7_sp1_has(self):
        exe = WIN_BUILD_DIR / "Pelvanto.exe"
        self.assertTrue(exe.is_file(), f"{exe} is missing: build the mingw preset first")
        table = imports(exe)
        self.assertIn("user32.dll", table, "the import table was not read")
        self.assertLessEqual(set(table), WINDOWS7_DLLS)
        for dll, calls in table.items():
            self.assertFalse(calls & NEWER_CALLS, dll)


if __name__ == "__main__":
    unittest.main(verbosity=2)
