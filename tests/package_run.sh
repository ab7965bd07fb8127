#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a temporary folder (without installing it) and
# starts the unpacked program headless: it must find its help and its language files there.
# The package names each library once, ships its programs stripped and, where lintian is
# installed, passes it without an error or a warning.
#   package_run.sh BUILD_DIR
set -euo pipefail
build=$1
for tool in cpack dpkg-deb file; do
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
  count=$(echo "$depends" | tr ',' '\n' | grep -c "^ *$lib\( \|$\)" || true)
  [ "$count" = 1 ] || { echo "the package names $lib $count times"; fail=1; }
done

root=$work/root
dpkg-deb -x "$deb" "$root"
for f in usr/bin/vastara usr/bin/vastara-lngcheck usr/lib/vastara/vastara usr/share/applications/org.vastara.Vastara.desktop \
         usr/share/metainfo/org.vastara.Vastara.metainfo.xml \
         usr/share/icons/hicolor/48x48/apps/org.vastara.Vastara.png \
         usr/share/vastara/languages/Deutsch.lng usr/share/doc/vastara/copyright usr/share/doc/vastara/changelog.gz \
         usr/share/man/man1/vastara.1.gz usr/share/man/man1/vastara-lngcheck.1.gz; do
  [ -e "$root/$f" ] || { echo "the package lacks /$f"; fail=1; }
done
for f in usr/lib/vastara/vastara usr/bin/vastara-lngcheck; do
  kind=$(file -b "$root/$f")
  echo "/$f: $(stat -c %s "$root/$f") bytes, $kind"
  [[ $kind == *", stripped"* ]] || { echo "/$f is not stripped"; fail=1; }
done

out=$(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work" \
      "$root/usr/bin/vastara" --check-install 2>/dev/null) || {
  echo "the unpacked program did not find its files:"; echo "$out"; exit 1; }
echo "$out"
echo "$out" | grep -qx "help: $root/usr/lib/vastara/Vastara.htm (found)" || {
  echo "the help was not found in the unpacked package"; fail=1; }
echo "$out" | grep -q "^languages: $root/usr/share/vastara/languages (.*Deutsch.lng" || {
  echo "the language files were not found in the unpacked package"; fail=1; }

# Debian's own check of the package: no error and no warning (notes are shown, not counted).
if command -v lintian > /dev/null; then
  lintian --allow-root --display-info "$deb" > "$work/lintian.log" 2>&1 || true
  cat "$work/lintian.log"
  if grep -Eq '^[EW]: ' "$work/lintian.log"; then
    echo "lintian reports errors or warnings"; fail=1
  fi
else
  echo "lintian is not installed: the package's own check is skipped"
fi
exit $fail
