#!/usr/bin/env python3
"""Lines of tests against lines of code, over the files git tracks.

The suite is meant to stay lean: tests at most a third of all counted lines.
Counted: C++ sources and headers, Python, shell, CMake and TOML files.
"""

import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
COUNTED = (".cpp", ".h", ".py", ".sh", ".cmake", ".txt", ".toml")
GROUPS = ("src", "tools", "tests", "bench", "scripts")


def main():
    files = subprocess.run(["git", "ls-files", "-co", "--exclude-standard"], cwd=ROOT, check=True,
                           capture_output=True, text=True).stdout.split()
    totals = dict.fromkeys(GROUPS, 0)
    for rel in files:
        top = rel.split("/", 1)[0]
        path = ROOT / rel
        if top in totals and rel.endswith(COUNTED) and path.is_file():
            totals[top] += len(path.read_bytes().splitlines())
    for group in GROUPS:
        print(f"{group:8} {totals[group]:7}")
    counted = totals["src"] + totals["tools"] + totals["tests"]
    share = 100.0 * totals["tests"] / counted
    print(f"tests are {share:.1f} % of src + tools + tests")
    return 1 if "--check" in sys.argv and share > 100 / 3 else 0


if __name__ == "__main__":
    sys.exit(main())
