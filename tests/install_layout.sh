#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the desktop program's layout there:
# the program with its help, the launcher, the menu entry, the AppStream description, the
# icons, the language files, the manual pages, the copyright and the change log; the desktop
# entry and the description must pass Debian's validators, the manual pages man's checks. The
# launcher must start the program in the user's configuration folder, from any folder, and
# --check-install must need no display.
#   install_layout.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1 id=$2
for tool in desktop-file-validate appstreamcli file; do
  if ! command -v $tool > /dev/null; then
    echo "SKIP: $tool is not installed (scripts/deps.sh installs it)"
    exit 77
  fi
done
prefix=$(mktemp -d)
home=$(mktemp -d)
trap 'rm -rf "$prefix" "$home"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

fail=0
need() { [ -e "$prefix/$1" ] || { echo "missing: $1"; fail=1; }; }
need lib/vastara/vastara
need lib/vastara/Vastara.htm
need lib/vastara/AiutoVastara/terremoti.htm
need bin/vastara
need bin/vastara-lngcheck
need share/applications/$id.desktop
need share/metainfo/$id.metainfo.xml
need share/vastara/languages/Deutsch.lng
need share/vastara/languages/Deutsch.bmp
need share/doc/vastara/copyright
need share/doc/vastara/changelog.gz
for n in 16 32 48 64 128 256; do
  icon=share/icons/hicolor/${n}x${n}/apps/$id.png
  need "$icon"
  if [ -e "$prefix/$icon" ]; then
    size=$(file -b "$prefix/$icon" | grep -o '[0-9]* x [0-9]*' || true)
    [ "$size" = "$n x $n" ] || { echo "$icon is $size, not $n x $n"; fail=1; }
  fi
done
[ -x "$prefix/bin/vastara" ] || { echo "the launcher is not executable"; fail=1; }

# A manual page for each program on the path, compressed as Debian wants it, that man reads
# without a warning.
for prog in vastara vastara-lngcheck; do
  page=$prefix/share/man/man1/$prog.1.gz
  need share/man/man1/$prog.1.gz
  [ -e "$page" ] || continue
  gzip -t "$page" || fail=1
  command -v man > /dev/null || { echo "man is not installed: $prog.1 is not read"; continue; }
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 > /dev/null || true)
  [ -z "$warnings" ] || { echo "man warns on $prog.1: $warnings"; fail=1; }
  LC_ALL=C.UTF-8 man -l "$page" 2> /dev/null | grep -q "^NAME" || { echo "$prog.1 has no NAME section"; fail=1; }
done
# The change log's latest entry is this version.
version=$(sed -n 's/^project(Vastara VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt")
head=$(gzip -dc "$prefix/share/doc/vastara/changelog.gz" | head -1)
[[ $head == "vastara ($version) "* ]] || { echo "the change log starts with '$head', not version $version"; fail=1; }

# The launcher runs the program under lib/ in the user's configuration folder, made when
# missing, whatever the folder it is called from; --check-install needs no display.
headless() { (cd / && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$home" "$@"); }
out=$(headless env -u XDG_CONFIG_HOME "$prefix/bin/vastara" --check-install 2>&1) || {
  echo "the launcher did not start the installed program: $out"; fail=1; }
echo "$out"
echo "$out" | grep -qx "configuration: $home/.config/vastara/Vastara.cfg (none yet)" || {
  echo "the launcher did not start the program in ~/.config/vastara"; fail=1; }
[ "$(stat -c %a "$home/.config/vastara")" = 700 ] || { echo "~/.config/vastara is not private"; fail=1; }
out=$(headless env XDG_CONFIG_HOME="$home/xdg" "$prefix/bin/vastara" --check-install 2>&1) || true
echo "$out" | grep -qx "configuration: $home/xdg/vastara/Vastara.cfg (none yet)" || {
  echo "the launcher did not follow XDG_CONFIG_HOME: $out"; fail=1; }

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail=1
# One main category (the program would be listed twice otherwise), then additional ones.
grep -qx 'Categories=Education;Geoscience;Astronomy;Physics;' "$prefix/share/applications/$id.desktop" || {
  echo "the desktop entry is not under Education alone"; fail=1; }
for lang in it en fr es; do
  for key in Name Comment Keywords; do
    grep -q "^$key\[$lang\]=" "$prefix/share/applications/$id.desktop" || {
      echo "the desktop entry has no $key[$lang]"; fail=1; }
  done
done
metainfo=$prefix/share/metainfo/$id.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail=1
grep -q '<project_license>' "$metainfo" || { echo "the AppStream description has no project licence"; fail=1; }
# Addresses only where the build was told real ones.
cached() { sed -n "s/^$1:STRING=//p" "$build/CMakeCache.txt"; }
if [ -z "$(cached VASTARA_HOMEPAGE)" ] && grep -q '<url' "$metainfo"; then
  echo "the AppStream description names a home page that the build was not told"; fail=1
fi
if [ -z "$(cached VASTARA_SCREENSHOTS)" ] && grep -q '<screenshot' "$metainfo"; then
  echo "the AppStream description names screenshots that the build was not told"; fail=1
fi
exit $fail
