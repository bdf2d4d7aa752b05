"""A copy of the repository's own files (what git tracks, or the tree without build output)
in another folder, for checks that build or configure it somewhere else."""

from __future__ import annotations

import shutil
import subprocess
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
SKIP = {".git", "build", "out", "__pycache__"}


def files() -> list[Path]:
    try:
        out = subprocess.run(["git", "-C", str(REPO), "ls-files", "-z"], check=True,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout
        # Also what is not committed yet, as long as it exists.
        listed = [Path(p) for p in out.decode().split("\0") if p]
        extra = subprocess.run(["git", "-C", str(REPO), "ls-files", "-z", "--others",
                                "--exclude-standard"], check=True,
                               stdout=subprocess.PIPE).stdout
        listed += [Path(p) for p in extra.decode().split("\0") if p]
        return sorted({p for p in listed if (REPO / p).is_file()})
    except (OSError, subprocess.CalledProcessError):
        return sorted(p.relative_to(REPO) for p in REPO.rglob("*")
                      if p.is_file() and not SKIP & set(p.relative_to(REPO).parts))


def copy_to(target: Path) -> Path:
    for rel in files():
        (target / rel).parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(REPO / rel, target / rel)
    return target
