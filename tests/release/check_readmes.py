"""README.md and README.zh-CN.md describe the same program: they link to each other at the top,
name the same make targets, keys and pictures (which exist), give the release zip the version
that CMakeLists.txt sets, and quote the same texts of the program ("..." in English, “...” in
Chinese), each exactly as it stands in the sources."""

from __future__ import annotations

import re
import unittest
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
CJK = r"[\u3400-\u9fff]"
KEY = r"\b(?:Esc|Enter|Shift|Ctrl|Alt|Tab|Space|F\d{1,2})\b|[←→↑↓]"
SOURCES = ("app", "core", "overlay", "platform", "tracking")


def read(name: str) -> str:
    return (REPO / name).read_text(encoding="utf-8")


def program_texts() -> str:
    """Every wide string literal of the program, one to a line."""
    literals = []
    for folder in SOURCES:
        for path in sorted((REPO / folder).rglob("*")):
            if path.suffix in {".cpp", ".h"}:
                literals += re.findall(r'L"((?:[^"\\]|\\.)*)"', path.read_text(encoding="utf-8"))
    return "\n".join(literals)


class ReadmesInStep(unittest.TestCase):

    def test_same_targets_keys_pictures_and_texts(self):
        english, chinese = read("README.md"), read("README.zh-CN.md")
        self.assertIn("(README.zh-CN.md)", "\n".join(english.splitlines()[:4]))
        self.assertIn("(README.md)", "\n".join(chinese.splitlines()[:4]))
        quoted = {"english": rf'"([^"\n]*{CJK}[^"\n]*)"', "chinese": rf"“([^”\n]*{CJK}[^”\n]*)”"}
        rules = {
            "make targets": (r"`make (\w+)`", r"`make (\w+)`"),
            "keys": (KEY, KEY),
            "pictures": (r"\]\((docs/[\w./-]+\.png)\)", r"\]\((docs/[\w./-]+\.png)\)"),
            "program texts": (quoted["english"], quoted["chinese"]),
        }
        for what, (in_english, in_chinese) in rules.items():
            found = set(re.findall(in_english, english))
            self.assertTrue(found, f"README.md names no {what}")
            self.assertEqual(found, set(re.findall(in_chinese, chinese)), what)
        for picture in re.findall(rules["pictures"][0], english):
            self.assertTrue((REPO / picture).is_file(), picture)
        texts = program_texts()
        for text in set(re.findall(quoted["english"], english)):
            self.assertIn(text, texts, "not a text of the program")

    def test_release_zip_has_the_project_version(self):
        version = re.search(r"project\(Pelvanto VERSION ([\d.]+)", read("CMakeLists.txt")).group(1)
        for name in ("README.md", "README.zh-CN.md"):
            zips = set(re.findall(r"Pelvanto-([\d.]+)-win64\.zip", read(name)))
            self.assertEqual(zips, {version}, name)


if __name__ == "__main__":
    unittest.main(verbosity=2)
