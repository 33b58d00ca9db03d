#!/usr/bin/env bash
# Installs what is missing, builds the optimised game and packs it as a Debian package:
# build/release/grumbos-megastream_<version>_amd64.deb (its layout: cmake/GrumboPackage.cmake).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target grumbos_megastream
(cd build/release && cpack -G DEB)
