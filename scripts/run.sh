#!/usr/bin/env bash
# Installs what is missing, builds Vastara and starts it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVASTARA_SIMS= >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target vastara
exec "$root/build/bin/vastara"
