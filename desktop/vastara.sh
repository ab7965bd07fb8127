#!/bin/sh
# Starts Vastara from its folder under lib/, where its help pages lie beside it.
here=$(dirname "$(readlink -f "$0")")
exec "$here/../lib/vastara/vastara" "$@"
