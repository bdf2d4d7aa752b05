"""The Windows workflow cannot run here, so what can be checked is: its YAML parses; it runs on
Windows Server 2022 with pinned action versions; every preset it names exists with the right
kind; every path it names exists, or for build output lies where the msvc preset's build puts
it; the MSVC warning flags are the promised ones; GoogleTest's archive is pinned by SHA-256;
and the msvc preset, with the Visual Studio generator swapped for Ninja and mingw-w64 standing
in for MSVC, configures with its own cache variables (the unit tests on) without error."""

from __future__ import annotations

import json
import os
import re
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

try:
    import yaml
except ImportError:  # Debian's python3-yaml belongs to Debian's interpreter
    if Path("/usr/bin/python3").is_file() and sys.executable != "/usr/bin/python3":
        os.execv("/usr/bin/python3", ["/usr/bin/python3", *sys.argv])
    raise

from source_tree import REPO, copy_to

WORKFLOW = REPO / ".github" / "workflows" / "windows.yml"
PRESETS = json.loads((REPO / "CMakePresets.json").read_text(encoding="utf-8"))


def preset(kind: str, name: str) -> dict:
    found = [p for p in PRESETS.get(kind, []) if p["name"] == name]
    if not found:
        raise AssertionError(f"no {kind} entry named {name!r}")
    return found[0]


class WindowsWorkflow(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.text = WORKFLOW.read_text(encoding="utf-8")
        cls.flow = yaml.safe_load(cls.text)
        cls.steps = [s for job in cls.flow["jobs"].values() for s in job["steps"]]

    def test_runner_triggers_and_pinned_actions(self):
        self.assertIn(True, self.flow, "no triggers ('on' reads as True in YAML 1.1)")
        for job in self.flow["jobs"].values():
            self.assertEqual(job["runs-on"], "windows-2022")
        for step in self.steps:
            if "uses" in step:
                self.assertRegex(step["uses"], r"^actions/[\w-]+@v\d+$")

    def test_presets_and_paths_it_names_exist(self):
        kinds = {"cmake --preset": "configurePresets", "cmake --build --preset": "buildPresets",
                 "ctest --preset": "testPresets"}
        runs = "\n".join(s.get("run", "") for s in self.steps)
        named = re.findall(r"(cmake --build --preset|cmake --preset|ctest --preset) ([\w-]+)", runs)
        self.assertEqual({kinds[k] for k, _ in named}, set(kinds.values()))
        for command, name in named:
            entry = preset(kinds[command], name)
            self.assertEqual(entry.get("configurePreset", name), "msvc", command)

        build = preset("buildPresets", "msvc")["configuration"]
        output = preset("configurePresets", "msvc")["binaryDir"].replace("${sourceDir}/", "")
        cmake_text = "\n".join(p.read_text(encoding="utf-8") for p in REPO.rglob("CMakeLists.txt")
                               if "build" not in p.relative_to(REPO).parts)
        for path in sorted(set(re.findall(r"build/msvc/[\w./-]+", self.text))):
            self.assertEqual(str(Path(path).parent), f"{output}/{build}", path)
            target = Path(path).name.split(".")[0]
            self.assertRegex(cmake_text, rf"add_executable\({target}\b", path)
        for path in sorted(set(re.findall(r"\b(?:cmake|tools|tests|platform)/[\w./-]*\w", self.text))):
            self.assertTrue((REPO / path).exists(), path)

    def test_msvc_flags_and_a_pinned_googletest(self):
        warnings = (REPO / "cmake" / "warnings.cmake").read_text(encoding="utf-8")
        self.assertRegex(warnings, r"if\(MSVC\)\s+target_compile_options\([^)]*/W4 /WX /permissive-")
        googletest = (REPO / "cmake" / "googletest.cmake").read_text(encoding="utf-8")
        self.assertRegex(googletest, r"URL https://\S+/googletest/archive/refs/tags/v[\d.]+\.tar\.gz")
        self.assertRegex(googletest, r"URL_HASH SHA256=[0-9a-f]{64}\b")

    def test_msvc_preset_configures_under_a_stand_in_generator(self):
        with tempfile.TemporaryDirectory(prefix="pelvanto-msvc-preset-") as tmp:
            source = copy_to(Path(tmp) / "src")
            presets = json.loads((source / "CMakePresets.json").read_text(encoding="utf-8"))
            entry = [p for p in presets["configurePresets"] if p["name"] == "msvc"][0]
            for key in ("condition", "architecture"):
                entry.pop(key, None)
            entry["generator"] = "Ninja"
            entry["toolchainFile"] = "${sourceDir}/cmake/mingw-w64-x86_64.cmake"
            (source / "CMakePresets.json").write_text(json.dumps(presets), encoding="utf-8")
            result = subprocess.run(["cmake", "--preset", "msvc"], cwd=source, text=True,
                                    stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
            self.assertEqual(result.returncode, 0, result.stdout)
            binary = source / "build" / "msvc"
            cache = dict(re.findall(r"(?m)^(\w+):\w+=(.*)$",
                                    (binary / "CMakeCache.txt").read_text(encoding="utf-8")))
            for name, value in entry["cacheVariables"].items():
                self.assertEqual(cache.get(name), value, name)
            targets = subprocess.run(["cmake", "--build", str(binary), "--target", "help"],
                                     check=True, text=True, stdout=subprocess.PIPE).stdout
            for target in ("Pelvanto", "pelvanto_tests", "pelvanto_win32_tests"):
                self.assertRegex(targets, rf"(?m)^{target}: ", target)


if __name__ == "__main__":
    unittest.main(verbosity=2)
