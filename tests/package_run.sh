#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a temporary folder (without installing it) and
# starts the unpacked program headless: it must find its help and its language files there.
#   package_run.sh BUILD_DIR
set -euo pipefail
build=$1
for tool in cpack dpkg-deb; do
  if ! command -v $tool > /dev/null; then
    echo "SKIP: $tool is not installed (scripts/deps.sh installs it)"
    exit 77
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" > "$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"; exit 1; }
debs=("$work"/pkg/vastara_*.deb)
[ -f "${debs[0]}" ] || { echo "no package made"; ls "$work/pkg"; exit 1; }
deb=${debs[0]}
echo "package: $(basename "$deb")"

fail=0
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libqt6widgets6 libqt6gui6 libqt6core6; do
  echo "$depends" | grep -q "$lib" || { echo "the package does not depend on $lib"; fail=1; }
done

root=$work/root
dpkg-deb -x "$deb" "$root"
for f in usr/bin/vastara usr/bin/vastara-lngcheck usr/lib/vastara/vastara usr/share/applications/org.vastara.Vastara.desktop \
         usr/share/metainfo/org.vastara.Vastara.metainfo.xml \
         usr/share/icons/hicolor/48x48/apps/org.vastara.Vastara.png \
         usr/share/vastara/languages/Deutsch.lng; do
  [ -e "$root/$f" ] || { echo "the package lacks /$f"; fail=1; }
done

out=$(cd "$work" && QT_QPA_PLATFORM=offscreen "$root/usr/bin/vastara" --check-install 2>/dev/null) || {
  echo "the unpacked program did not find its files:"; echo "$out"; exit 1; }
echo "$out"
echo "$out" | grep -qx "help: $root/usr/lib/vastara/Vastara.htm (found)" || {
  echo "the help was not found in the unpacked package"; fail=1; }
echo "$out" | grep -q "^languages: $root/usr/share/vastara/languages (.*Deutsch.lng" || {
  echo "the language files were not found in the unpacked package"; fail=1; }
exit $fail
