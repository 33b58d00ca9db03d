#!/usr/bin/env bash
# Installs what is missing, builds the optimised game and starts it.
# Extra arguments go to the game (for example: --smoke 3).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target grumbos_megastream
exec ./build/release/bin/grumbos_megastream "$@"
