#!/usr/bin/env bash
# Runs corsaro270-cli as a user would: against the real hidapi, then on a virtual receiver. With
# CORSARO_CLI_PLATFORM=windows the tool is the Windows build (run by tests/windows/wine_cli.sh),
# whose receiver backend looks through Wine's HID devices and finds no receiver there.
set -u
cli=$(realpath "$1")
work=$2
platform=${CORSARO_CLI_PLATFORM:-linux}
here=$(dirname "$(readlink -f "$0")")
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
# Backups made by these runs stay in the work folder (on Windows, in Wine's prefix).
export XDG_DATA_HOME=$PWD/data
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if [ "$platform" = windows ]; then
  # Wine presents HID devices of its own, none of them a receiver: list says so on standard error
  # and prints nothing, and a command that needs a receiver fails saying the same.
  "$cli" list >list.out 2>list.err || fail "list under Wine exited with $?"
  [ -s list.out ] && fail "list under Wine printed: $(cat list.out)"
  [ "$(cat list.err)" = "No receiver found." ] || fail "list under Wine said: $(cat list.err)"
  [ "$("$cli" --json list)" = '{"version":1,"receivers":[]}' ] ||
    fail "list --json under Wine printed: $("$cli" --json list)"
  "$cli" info >info.out 2>info.err
  [ $? = 1 ] || fail "info without a receiver did not exit with 1"
  [ "$(cat info.err)" = "No receiver found." ] || fail "info without a receiver said: $(cat info.err)"
else
  # list prints one line per receiver and nothing else, so that `list | wc -l` counts them; with
  # none plugged in, standard error says so. Either way it succeeds.
  out=$("$cli" list 2>list.err) || fail "list exited with $?"
  if [ -z "$out" ]; then
    [ "$(cat list.err)" = "No receiver found." ] || fail "list with no receiver said: $(cat list.err)"
  elif grep -qv "vendor 0x2E7B" <<<"$out"; then
    fail "list printed: $out"
  fi
fi
[ "$("$cli" --virtual count.bin list | wc -l)" = 1 ] || fail "list | wc -l does not count 1"

# --version, -h and help print and succeed.
[ "$("$cli" --version)" = "corsaro270-cli 1.3" ] || fail "--version printed: $("$cli" --version)"
"$cli" -h | head -1 | grep -qx "Usage: corsaro270-cli \[options\] COMMAND \[ARGUMENTS\]" ||
  fail "-h did not print the usage"
"$cli" help >help.out || fail "help exited with $?"
"$cli" --help | cmp -s - help.out || fail "help and --help differ"

"$cli" --virtual flash.bin read-profile 1 p1.cs270 || fail "read-profile on a fresh receiver"
[ -f flash.bin ] || fail "the flash file was not created"
[ "$(stat -c %s p1.cs270)" = 116 ] || fail "p1.cs270 is not 116 bytes"
[ "$(head -c 4 p1.cs270)" = CS27 ] || fail "p1.cs270 does not begin with CS27"
"$cli" check p1.cs270 | grep -q "Level:       Med" || fail "check does not decode factory profile 1"

"$cli" --virtual flash.bin read-profile 2 p2.cs270 || fail "read-profile 2"
"$cli" --virtual flash.bin read-profile 3 p3.cs270 || fail "read-profile 3"
"$cli" --virtual flash.bin write-profiles p3.cs270 p1.cs270 p2.cs270 || fail "write-profiles"
"$cli" --virtual flash.bin read-profile 1 back1.cs270 || fail "read-profile after writing"
cmp -s p3.cs270 back1.cs270 || fail "profile 1 did not come back as written"

# A second write backs up what the first stored; restoring the newest backup brings it back.
"$cli" --virtual flash.bin write-profiles p1.cs270 p1.cs270 p1.cs270 >/dev/null || fail "rewrite"
"$cli" backups --json --virtual flash.bin | grep -q '"valid":true' || fail "no backup listed"
"$cli" --virtual flash.bin restore --latest >/dev/null || fail "restore --latest"
"$cli" --virtual flash.bin read-profile 1 restored1.cs270 >/dev/null || fail "read after restore"
cmp -s p3.cs270 restored1.cs270 || fail "restore --latest did not bring profile 1 back"

# A backup file of the three profiles brings them back over others.
"$cli" --virtual flash.bin backup all.cs270set >/dev/null || fail "backup FILE"
[ "$(stat -c %s all.cs270set)" = 348 ] || fail "all.cs270set is not 348 bytes"
"$cli" --virtual flash.bin write-profiles p2.cs270 p2.cs270 p2.cs270 >/dev/null || fail "overwrite"
"$cli" --virtual flash.bin restore all.cs270set >/dev/null || fail "restore FILE"
"$cli" --virtual flash.bin read-profile 1 fromfile1.cs270 >/dev/null || fail "read after restore"
cmp -s p3.cs270 fromfile1.cs270 || fail "restore FILE did not bring profile 1 back"

# An old receiver is upgraded to the carried firmware; a second upgrade has nothing to do (3).
"$cli" --virtual old.bin --firmware-version 1.95 info | grep -q "Wheel Firmware v1.95" ||
  fail "the virtual receiver does not run v1.95"
"$cli" --virtual old.bin upgrade >upgrade.out 2>&1 || fail "upgrade: $(cat upgrade.out)"
grep -q "The receiver now runs firmware v1.96." upgrade.out || fail "upgrade said: $(cat upgrade.out)"
"$cli" --virtual old.bin info | grep -q "Wheel Firmware v1.96" || fail "v1.96 is not installed"
"$cli" --virtual old.bin upgrade >/dev/null 2>&1
[ $? = 3 ] || fail "a second upgrade did not exit with 3"

# The bundled presets, served over HTTP from a loopback server, are listed and installed.
python3 "$here/serve_folder.py" "$here/../../assets/presets" port.txt 2>server.err &
server=$!
for _ in $(seq 1 100); do [ -s port.txt ] && break; sleep 0.05; done
url="http://127.0.0.1:$(cat port.txt 2>/dev/null)/tarnwick270/settings.xml"
"$cli" --url "$url" presets >presets.out 2>presets.err || fail "presets: $(cat presets.err)"
grep -q "Factory Profile 2" presets.out || fail "presets printed: $(cat presets.out)"
"$cli" --virtual flash.bin --url "$url" install-preset "factory profile 2" 3 >/dev/null 2>&1 ||
  fail "install-preset"
"$cli" --virtual flash.bin read-profile 3 preset3.cs270 >/dev/null || fail "read the preset back"
cmp -s "$here/../../assets/presets/tarnwick270/factory2.cs270" preset3.cs270 ||
  fail "install-preset did not write the preset's record"
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null

# One record byte changed: check must refuse it and exit 1.
cp p1.cs270 bad.cs270
printf '\x55' | dd of=bad.cs270 bs=1 seek=40 conv=notrunc status=none
"$cli" check bad.cs270 >/dev/null 2>&1
[ $? = 1 ] || fail "check accepted a damaged file"

# Twelve runs writing one flash file at once, three rounds: each run succeeds or says another
# program is writing, and the file survives whole, holding one of the sets that were written.
for round in 1 2 3; do
  pids=()
  for i in $(seq 1 12); do
    case $((i % 3)) in
      0) set -- p1.cs270 p2.cs270 p3.cs270 ;;
      1) set -- p2.cs270 p3.cs270 p1.cs270 ;;
      2) set -- p3.cs270 p1.cs270 p2.cs270 ;;
    esac
    "$cli" --virtual parallel.bin write-profiles "$@" >"run$i.out" 2>"run$i.err" &
    pids+=($!)
  done
  for i in $(seq 1 12); do
    if ! wait "${pids[$((i - 1))]}"; then
      grep -q "another program is writing to this receiver" "run$i.err" ||
        fail "round $round, parallel run $i: $(cat "run$i.err")"
    fi
  done
  "$cli" --virtual parallel.bin info >/dev/null 2>&1 || fail "round $round: the flash file is lost"
  "$cli" --virtual parallel.bin read-profile 1 parallel1.cs270 >/dev/null 2>&1 ||
    fail "round $round: reading after the parallel runs"
  cmp -s parallel1.cs270 p1.cs270 || cmp -s parallel1.cs270 p2.cs270 ||
    cmp -s parallel1.cs270 p3.cs270 || fail "round $round: profile 1 is none of those written"
  ls -A | grep -q '^\.\?parallel\.bin.' && fail "round $round: temporary files were left behind"
done

"$cli" frobnicate >/dev/null 2>&1
[ $? = 2 ] || fail "an unknown command did not exit with 2"

[ $failures = 0 ] && echo "all passed"
exit $failures
