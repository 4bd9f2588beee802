#!/usr/bin/env bash
# The command-line tool runs without a window: it must load no window, GL, image or pack library.
# Usage: cli_libraries.sh CLI
set -euo pipefail
cli=$1
libraries=$(ldd "$cli")
drawing=$(grep -iE 'libSDL|libGL|libEGL|libepoxy|libpng|libminizip|libgtk|libgdk' <<<"$libraries" || true)
if [[ -n $drawing ]]; then
  echo "$(basename "$cli") loads libraries it must not:" >&2
  echo "$drawing" >&2
  exit 1
fi
echo "$(basename "$cli") loads no window or drawing library"
