#!/bin/sh
# Starts Vastara from its folder under lib/, where its help pages lie beside it.
# The program keeps its configuration (Vastara.cfg) in the folder it runs in: it is started in
# $XDG_CONFIG_HOME/vastara (~/.config/vastara by default, made when missing), so that every
# start, whatever the folder it is called from, shares one configuration.
here=$(dirname "$(readlink -f "$0")")
case $XDG_CONFIG_HOME in
  /*) config=$XDG_CONFIG_HOME/vastara ;;
  *) config=${HOME:-/nonexistent}/.config/vastara ;;
esac
if (umask 077 && mkdir -p "$config") 2>/dev/null && cd "$config"; then
  :
else
  echo "vastara: cannot use $config for the configuration; it stays in $(pwd)" >&2
fi
exec "$here/../lib/vastara/vastara" "$@"
