#!/usr/bin/env bash
# The Windows release, built and tried here: cross-builds the `windows` preset with mingw-w64,
# packs the zip, then runs the backend checks and "--smoke" for worlds 0 and 9 under Wine
# inside Xvfb, in a fresh Wine prefix in the build folder, and checks what the runs left.
#
# The assets come from a native build's forge: build/ci when it has them (CI builds it
# first), otherwise a native Release build in build/windows-native.
# Needs: g++-mingw-w64-x86-64-posix, wine, wine64, xvfb, xauth.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/windows
work=$build/wine-smoke
jobs=${GRUMBO_JOBS:-2}

# Inside Xvfb: everything that runs Windows code, sharing one Wine server and desktop.
if [ "${1:-}" = "--inside-x" ]; then
  wineboot -i > "$work/wineboot.log" 2>&1
  # Wine has no "Consolas"; the HUD's monospaced text comes out in DejaVu Sans Mono. A virtual
  # desktop avoids a stall of seconds when the game's window is destroyed.
  cat > "$work/settings.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Consolas"="DejaVu Sans Mono"

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1600x900"
REG
  wine regedit /S "$work/settings.reg"
  wineserver -w

  echo "== backend checks"
  mkdir -p "$work/checks"
  cp "$build/bin/win32_backend_check.exe" "$work/checks/"
  (cd "$work/checks" && timeout 120 wine win32_backend_check.exe)

  for world in 0 9; do
    echo "== smoke run, world $world"
    run=$work/run-$world
    mkdir -p "$run"
    cmake -E chdir "$run" cmake -E tar xf "$build/GrumbosMegastream-windows.zip"
    start=$(date +%s)
    # Software drawing under Wine takes tens of milliseconds a frame: the 240 frames take a while.
    (cd "$run/GrumbosMegastream" && timeout 300 wine grumbos_megastream.exe --smoke "$world")
    wineserver -w
    echo "world $world ran in $(($(date +%s) - start)) s"
  done
  exit 0
fi

native=${GRUMBO_NATIVE_BUILD:-$root/build/ci}
if [ ! -f "$native/bin/assets/sprites.png" ] || [ ! -x "$native/bin/app_smoke_check" ]; then
  native=$root/build/windows-native
  echo "== native assets and smoke checker in $native"
  cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGRUMBO_BENCH=OFF > /dev/null
  cmake --build "$native" --target grumbo_assets app_smoke_check -j"$jobs"
fi

echo "== cross build ($(x86_64-w64-mingw32-g++-posix --version | head -1)), run under $(wine --version 2>/dev/null)"
(cd "$root" && cmake --preset windows -DGRUMBO_WINDOWS_ASSETS="$native/bin/assets" > /dev/null)
cmake --build "$build" --target grumbo_windows_zip win32_backend_check -j"$jobs"
test -s "$build/GrumbosMegastream-windows.zip"

rm -rf "$work"
mkdir -p "$work/home"
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wave-out needs a device: ALSA's null sink, through a private home, plays into nothing.
export HOME=$work/home
printf 'pcm.!default {\n  type null\n}\n' > "$HOME/.asoundrc"
# The screen must be larger than the framed window, or the window copy comes out black.
xvfb-run -a -s "-screen 0 1920x1080x24" "$0" --inside-x

echo "== checks"
"${CXX:-g++}" -std=c++20 -O1 -o "$work/screenshot_text_check" "$root/tests/win32/screenshot_text_check.cpp"
for world in 0 9; do
  out=$work/run-$world/GrumbosMegastream
  # A text stream on Windows ends its lines with CR LF; the shared checker reads plain lines.
  crlf=$(grep -c $'\r$' "$out/smoke-results.txt" || true)
  if [ "$crlf" != 4 ]; then
    echo "FAILED: smoke-results.txt of world $world does not have four CR LF lines" >&2
    exit 1
  fi
  mkdir -p "$work/check-$world"
  tr -d '\r' < "$out/smoke-results.txt" > "$work/check-$world/smoke-results.txt"
  cp "$out/screenshot.bmp" "$work/check-$world/"
  "$native/bin/app_smoke_check" "$work/check-$world" "$world"
  "$work/screenshot_text_check" "$out/screenshot.bmp"
done
echo "windows smoke: worlds 0 and 9 look like the game"
