#!/usr/bin/env bash
# Runs a Windows program with a window under Wine on an X server of its own (Xvfb), in the Wine
# prefix PREFIX and a Wine session of that run's own: a session that outlived an earlier display
# would open no windows. Usage: wine_gui.sh PREFIX PROGRAM [ARGUMENTS...]; the program's exit
# status, or 124 when it did not end within three minutes; 77, saying why, without Wine or
# xvfb-run.
set -u
if [ -z "${CORSARO_WINE:-}" ] || [ ! -x "$CORSARO_WINE" ]; then
  echo "SKIP: Wine is not installed (scripts/setup installs wine64)"
  exit 77
fi
if ! command -v xvfb-run >/dev/null; then
  echo "SKIP: xvfb-run is not installed (scripts/setup installs xvfb)"
  exit 77
fi
export WINEPREFIX=$1
shift
mkdir -p "$WINEPREFIX"
server=$(dirname "$(readlink -f "$CORSARO_WINE")")/wineserver
[ -x "$server" ] || server=wineserver
# xvfb-run ends its X server when the command ends; the session goes first, so that nothing of
# it is left holding the display.
timeout 240 xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  timeout 180 "$CORSARO_WINE" "$@" </dev/null
  status=$?
  "'"$server"'" -k 2>/dev/null
  "'"$server"'" -w 2>/dev/null
  exit $status' wine_gui "$@"
