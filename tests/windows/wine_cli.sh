#!/usr/bin/env bash
# Runs the Windows corsaro270-cli.exe (CORSARO_CLI_EXE) under Wine (CORSARO_WINE) as if it were
# the Linux tool, for the shell tests written for that: the arguments as given, and the CRLF line
# ends of standard output and standard error made LF, with the tool's exit status kept.
set -o pipefail
{ "$CORSARO_WINE" "$CORSARO_CLI_EXE" "$@" 2>&1 1>&3 3>&- | tr -d '\r' >&2; } 3>&1 | tr -d '\r'
