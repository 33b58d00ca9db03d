#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Idempotent: when everything is present it only asks dpkg and returns.
set -euo pipefail

PACKAGES=(
  # toolchain and test frameworks
  g++ cmake ninja-build pkg-config clang-format
  # the mutation tool and the line counts
  python3
  # clang with libFuzzer for the fuzz preset
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # platform layer: window, drawing, text, images, audio and controllers
  libsdl2-dev libsdl2-ttf-dev libsdl2-image-dev fonts-dejavu-core fonts-anonymous-pro
  # the asset forge: compression for PNG output, the persona's voice clips
  zlib1g-dev espeak-ng
  # replay files: zlib for the Windows release too
  libz-mingw-w64-dev
  # a real X11 display for the smoke run and the windowed tests
  xvfb xauth
  # the Windows release: cross compiler, and Wine (with Mesa for its Direct2D) for its smoke test
  g++-mingw-w64-x86-64-posix wine wine64 libgl1-mesa-dri
  # the Debian package: dependencies read from the executable, and the desktop files' validators
  dpkg-dev file desktop-file-utils appstream
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
if [[ $(id -u) -ne 0 ]]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "setup: done"
