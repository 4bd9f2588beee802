#!/usr/bin/env bash
# Builds tests/build/format_security_probe.cpp with the project's own flags and expects one
# format-security error for every line marked REFUSED: the printf-like functions carry the format
# attribute and the build refuses a format that is not a literal. Usage: check_format_security.sh
# BUILD-DIR SOURCE-DIR
set -uo pipefail
build=$1
source=$2
expected=$(grep -c '// REFUSED$' "$source/tests/build/format_security_probe.cpp")
output=$(cmake --build "$build" --target format_security_probe 2>&1)
refused=$(grep -c 'error: format not a string literal and no format arguments' <<<"$output")
if [ "$refused" -ne "$expected" ]; then
  echo "$output"
  echo "FAIL: $refused of the $expected outside texts used as formats were refused" >&2
  exit 1
fi
echo "All $expected outside texts used as formats were refused."
