#!/usr/bin/env bash
# Starts or stops the Wine session the Windows tests run in: `wine_session.sh start|stop`, with
# WINEPREFIX and CORSARO_WINE (the wine64 binary) set by CTest. Exits 77, saying why, where Wine
# is missing, so that the tests are skipped and never passed silently.
set -u
if [ -z "${CORSARO_WINE:-}" ] || [ ! -x "$CORSARO_WINE" ]; then
  echo "SKIP: Wine is not installed (scripts/setup installs wine64)"
  exit 77
fi
server=$(dirname "$(readlink -f "$CORSARO_WINE")")/wineserver
[ -x "$server" ] || server=wineserver
case ${1:-} in
  start)
    mkdir -p "$WINEPREFIX"
    # Detached from CTest's pipes, or CTest waits for the server as long as it lives.
    "$server" -p 120 </dev/null >/dev/null 2>&1
    "$CORSARO_WINE" wineboot </dev/null >/dev/null 2>&1 || {
      echo "wineboot failed in $WINEPREFIX"
      exit 1
    }
    echo "Wine session ready in $WINEPREFIX"
    ;;
  stop)
    "$server" -k </dev/null >/dev/null 2>&1
    echo "Wine session stopped"
    ;;
  *)
    echo "usage: wine_session.sh start|stop" >&2
    exit 2
    ;;
esac
