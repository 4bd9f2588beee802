#!/usr/bin/env bash
# The command-line tool's end-to-end runs (tests/cli/cli_end_to_end.sh) with the Windows build
# under Wine. Usage: cli_under_wine.sh CLI_EXE WORK_FOLDER
set -u
here=$(dirname "$(readlink -f "$0")")
if [ -z "${CORSARO_WINE:-}" ] || [ ! -x "$CORSARO_WINE" ]; then
  echo "SKIP: Wine is not installed (scripts/setup installs wine64)"
  exit 77
fi
export CORSARO_CLI_EXE=$1 CORSARO_CLI_PLATFORM=windows
exec bash "$here/../cli/cli_end_to_end.sh" "$here/wine_cli.sh" "$2"
