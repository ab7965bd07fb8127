#!/usr/bin/env bash
# Installs what is missing, builds Vastara with its tests and runs the whole suite headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
build="$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVASTARA_SIMS= -DVASTARA_SANITIZE=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j"$(nproc)"
