#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the desktop program's layout there:
# the program with its help, the launcher, the menu entry, the AppStream description, the
# icons and the language files; the desktop entry and the description must pass Debian's
# validators.
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
trap 'rm -rf "$prefix"' EXIT
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
for n in 16 32 48 64 128 256; do
  icon=share/icons/hicolor/${n}x${n}/apps/$id.png
  need "$icon"
  if [ -e "$prefix/$icon" ]; then
    size=$(file -b "$prefix/$icon" | grep -o '[0-9]* x [0-9]*' || true)
    [ "$size" = "$n x $n" ] || { echo "$icon is $size, not $n x $n"; fail=1; }
  fi
done
[ -x "$prefix/bin/vastara" ] || { echo "the launcher is not executable"; fail=1; }

# The launcher runs the program under lib/ whatever the folder it is called from.
out=$(cd / && QT_QPA_PLATFORM=offscreen "$prefix/bin/vastara" --check-install 2>&1) || {
  echo "the launcher did not start the installed program: $out"; fail=1; }
echo "$out"

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail=1
grep -q '^Categories=Education;Science;' "$prefix/share/applications/$id.desktop" || {
  echo "the desktop entry is not under Education and Science"; fail=1; }
for lang in it en fr es; do
  for key in Name Comment Keywords; do
    grep -q "^$key\[$lang\]=" "$prefix/share/applications/$id.desktop" || {
      echo "the desktop entry has no $key[$lang]"; fail=1; }
  done
done
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail=1
exit $fail
