#!/usr/bin/env bash
# The bash completion: installed by cmake --install, and completing commands, options, profile
# numbers and files as a user at a prompt would see them.
set -u
build=$1
work=$2
rm -rf "$work" && mkdir -p "$work" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$work/prefix" >/dev/null || fail "cmake --install failed"
script=$work/prefix/share/bash-completion/completions/corsaro270-cli
[ -f "$script" ] || { echo "FAIL: the completion was not installed at $script"; exit 1; }
# shellcheck source=/dev/null
source "$script"

cli=$build/bin/corsaro270-cli
complete_line() {
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _corsaro270_cli "$cli" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  # In sorted order: files come in the folder's order.
  printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd ' ' -
}

[ "$(complete_line corsaro270-cli re)" = "read-profile restore" ] ||
  fail "commands after re: $(complete_line corsaro270-cli re)"
[ "$(complete_line corsaro270-cli --virtual flash.bin back)" = "backup backups" ] ||
  fail "commands after an option: $(complete_line corsaro270-cli --virtual flash.bin back)"
[ "$(complete_line corsaro270-cli backups --j)" = "--json" ] ||
  fail "options after the command: $(complete_line corsaro270-cli backups --j)"
[ "$(complete_line corsaro270-cli restore --la)" = "--latest" ] || fail "--latest"
[ "$(complete_line corsaro270-cli --no)" = "--no-backup" ] || fail "--no-backup"
[ "$(complete_line corsaro270-cli read-profile "")" = "1 2 3" ] || fail "profile numbers"

cd "$work" || exit 1
touch one.cs270 two.cs270 notes.txt
[ "$(complete_line corsaro270-cli check "")" = "one.cs270 prefix two.cs270" ] ||
  fail "profile files for check: $(complete_line corsaro270-cli check "")"
[ "$(complete_line corsaro270-cli --virtual n)" = "notes.txt" ] || fail "files after --virtual"

[ $failures = 0 ] && echo "completion: all checks passed"
exit $((failures > 0))
