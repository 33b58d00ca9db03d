#!/usr/bin/env bash
# The Debian package as a player's machine sees it: builds it with scripts/package.sh, checks
# that it holds exactly the game's files and that its desktop entry and AppStream data are
# valid, installs it with apt-get, plays the installed game's smoke run of world 2 under Xvfb
# from an empty folder, removes the package and checks that nothing of it is left.
# Needs root (or sudo) for apt-get. The AppStream check runs with --no-net: the screenshots are
# published on the home page, which the check does not fetch.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/release
package=grumbos-megastream
SUDO=""
if [[ $(id -u) -ne 0 ]]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive

status() {
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true
}

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

echo "== build the package"
"$root/scripts/package.sh"
cmake --build "$build" --target app_smoke_check >/dev/null
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$build/${package}_${version}_amd64.deb
[[ -f "$deb" ]] || fail "no $deb"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== contents"
# Every path of the package as it lands on the disk, files and links apart from folders.
dpkg-deb -c "$deb" > "$work/listing"
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|' > "$work/paths"
grep -v '/$' "$work/paths" | sort > "$work/files"
grep '/.' "$work/paths" | grep '/$' | sed 's|/$||' > "$work/folders"
app_id=com.lanternfox.grumbos_megastream
{
  echo /usr/games/$package
  echo /usr/share/applications/$package.desktop
  echo /usr/share/metainfo/$app_id.metainfo.xml
  for size in 32 64 128 256; do
    echo /usr/share/icons/hicolor/${size}x${size}/apps/$package.png
  done
  # The forged assets, without the Windows icon; the font among them is a link to the system's.
  (cd "$build/bin/assets" && find . -type f ! -name icon.ico) | sed "s|^\.|/usr/share/games/$package|"
} | sort > "$work/expected"
grep -q "/usr/share/games/$package/sprites.png" "$work/expected" || fail "the build has no forged assets"
grep -q "/usr/share/games/$package/audio/.*\.wav" "$work/expected" || fail "the build has no forged sounds"
diff -u "$work/expected" "$work/files" || fail "the package's files are not the game's"
font="/usr/share/fonts/truetype/anonymous-pro/Anonymous Pro B.ttf"
grep -qF " ./usr/share/games/$package/AnonymousPro-Bold.ttf -> $font" "$work/listing" ||
  fail "the font is not a link to the system's"
[[ $(dpkg-deb -f "$deb" Depends) == *libsdl2-2.0-0* ]] || fail "the dependencies were not read from the executable"
echo "$(wc -l < "$work/files") files, as expected"

echo "== desktop entry and AppStream data"
dpkg-deb -x "$deb" "$work/tree"
grep -qx "Exec=\"/usr/games/$package\"" "$work/tree/usr/share/applications/$package.desktop" ||
  fail "the desktop entry does not start /usr/games/$package"
desktop-file-validate "$work/tree/usr/share/applications/$package.desktop"
appstreamcli validate-tree --no-net "$work/tree"

echo "== install"
if [[ $(status) == "install ok installed" ]]; then
  $SUDO apt-get remove --purge -y -qq "$package" >/dev/null
fi
# The folders that are there before belong to others and stay.
while read -r folder; do
  if [[ -d "$folder" ]]; then echo "$folder"; fi
done < "$work/folders" > "$work/folders_before"
$SUDO apt-get install -y -qq "$deb" >/dev/null
[[ $(status) == "install ok installed" ]] || fail "the package did not install"

echo "== smoke run of the installed game, world 2"
mkdir -p "$work/run" "$work/data"
(cd "$work/run" && XDG_DATA_HOME="$work/data" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null \
  timeout 180 xvfb-run -a "/usr/games/$package" --smoke 2)
"$build/bin/app_smoke_check" "$work/run" 2
cat "$work/run/smoke-results.txt"

echo "== remove"
$SUDO apt-get remove --purge -y -qq "$package" >/dev/null
[[ $(status) != *installed* ]] || fail "the package is still installed"
left=0
while read -r file; do
  if [[ -e "$file" || -L "$file" ]]; then
    echo "left behind: $file" >&2
    left=1
  fi
done < "$work/files"
while read -r folder; do
  if [[ -d "$folder" ]] && ! grep -qx "$folder" "$work/folders_before"; then
    echo "left behind: $folder/" >&2
    left=1
  fi
done < "$work/folders"
[[ $left == 0 ]] || fail "the removed package left files behind"
echo "package: installs, plays world 2 and removes cleanly"
