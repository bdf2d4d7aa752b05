"""Two clean builds of the same sources, in folders of different names and depths (the build
folder once inside the source folder, once beside it), must give the same Pelvanto.exe byte
for byte, with no time stamp in its PE header, resources or debug directory; and `make_dist.py`
must then give the same zip, with a SHA256SUMS that matches it and the exe. Builds only the
Pelvanto target, with the mingw-w64 toolchain and Ninja."""

from __future__ import annotations

import hashlib
import os
import struct
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

from source_tree import copy_to


def pe_stamps(data: bytes) -> dict[str, int]:
    """Every time stamp the file carries: the PE header's, each resource directory's and each
    debug directory entry's."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    sections, = struct.unpack_from("<H", data, pe + 6)
    optional_size, = struct.unpack_from("<H", data, pe + 20)
    optional = pe + 24
    directories = optional + (112 if struct.unpack_from("<H", data, optional)[0] == 0x20B else 96)
    table = optional + optional_size

    def offset(rva: int) -> int:
        for i in range(sections):
            size, address, raw_size, raw = struct.unpack_from("<IIII", data, table + 40 * i + 8)
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise ValueError(f"RVA {rva:#x} in no section")

    stamps = {"PE header": struct.unpack_from("<I", data, pe + 8)[0]}
    resources, resources_size = struct.unpack_from("<II", data, directories + 8 * 2)
    if resources_size:
        root = offset(resources)
        pending = [root]
        while pending:
            node = pending.pop()
            stamps[f"resource directory at {node:#x}"] = struct.unpack_from("<I", data, node + 4)[0]
            named, numbered = struct.unpack_from("<HH", data, node + 12)
            for i in range(named + numbered):
                _, target = struct.unpack_from("<II", data, node + 16 + 8 * i)
                if target & 0x80000000:
                    pending.append(root + (target & 0x7FFFFFFF))
    debug, debug_size = struct.unpack_from("<II", data, directories + 8 * 6)
    for i in range(debug_size // 28):
        stamps[f"debug directory {i}"] = struct.unpack_from("<I", data, offset(debug) + 28 * i + 4)[0]
    return stamps


def build(source: Path, binary: Path) -> Path:
    subprocess.run(["cmake", "-S", str(source), "-B", str(binary), "-G", "Ninja",
                    f"--toolchain={source / 'cmake' / 'mingw-w64-x86_64.cmake'}",
                    "-DCMAKE_BUILD_TYPE=Release"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", str(binary), "--target", "Pelvanto"], check=True,
                   stdout=subprocess.DEVNULL)
    return binary / "Pelvanto.exe"


def dist(source: Path, binary: Path, out: Path) -> None:
    env = dict(os.environ, SOURCE_DATE_EPOCH="1767225600")  # any fixed time; both the same
    subprocess.run([sys.executable, str(source / "tools" / "make_dist.py"), "--build", str(binary),
                    "--out", str(out)], check=True, env=env, stdout=subprocess.DEVNULL)


def digest(path: Path) -> str:
    return hashlib.sha256(path.read_bytes()).hexdigest()


class Reproducible(unittest.TestCase):

    def test_two_clean_builds_give_the_same_exe_and_zip(self):
        with tempfile.TemporaryDirectory(prefix="pelvanto-repro-") as tmp:
            first_src = copy_to(Path(tmp) / "a" / "pelvanto")
            second_src = copy_to(Path(tmp) / "second-place" / "deeper" / "src")
            builds = [(first_src, first_src / "build" / "mingw"),
                      (second_src, Path(tmp) / "second-place" / "out")]
            exes = [build(src, binary) for src, binary in builds]
            first, second = (exe.read_bytes() for exe in exes)
            differing = [i for i in range(min(len(first), len(second))) if first[i] != second[i]]
            self.assertEqual(digest(exes[0]), digest(exes[1]),
                             f"{len(first)} and {len(second)} bytes; {len(differing)} differ, "
                             f"the first at {differing[:1]}")
            for where, stamp in pe_stamps(first).items():
                self.assertEqual(stamp, 0, f"a time stamp in the {where}")

            zips = []
            for src, binary in builds:
                out = binary.parent / "dist"
                dist(src, binary, out)
                sums = dict(reversed(line.split("  ")) for line in
                            (out / "SHA256SUMS").read_text().splitlines())
                (archive,) = out.glob("Pelvanto-*-win64.zip")
                self.assertEqual(sums, {archive.name: digest(archive),
                                        "Pelvanto.exe": digest(exes[0])})
                zips.append(archive)
            self.assertEqual(zips[0].name, zips[1].name)
            self.assertEqual(digest(zips[0]), digest(zips[1]))


if __name__ == "__main__":
    unittest.main(verbosity=2)
