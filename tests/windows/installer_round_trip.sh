#!/usr/bin/env bash
# The Windows installer's round trip under Wine: a silent install (/S) puts the programs in
# Program Files with a Start-menu folder and an entry among the installed programs, the installed
# tool runs from there, the installed demo runs a script on an X server of its own (Xvfb), and a
# silent uninstall takes all of that away again while the user's
# backups in %LOCALAPPDATA% stay. Usage: installer_round_trip.sh SETUP_EXE WORK_FOLDER
# (SETUP_EXE "missing" where the build had no makensis).
set -u
setup=$1
work=$2
if [ "$setup" = missing ]; then
  echo "SKIP: makensis is not installed, so there is no installer (scripts/setup installs nsis)"
  exit 77
fi
if [ -z "${CORSARO_WINE:-}" ] || [ ! -x "$CORSARO_WINE" ]; then
  echo "SKIP: Wine is not installed (scripts/setup installs wine64)"
  exit 77
fi
here=$(dirname "$(readlink -f "$0")")
setup=$(realpath "$setup")
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
wine() { timeout 120 "$CORSARO_WINE" "$@" </dev/null; }

drive=$WINEPREFIX/drive_c
programs="$drive/Program Files/Corsaro270"
menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Corsaro270"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corsaro270'
installed_cli='C:\Program Files\Corsaro270\corsaro270-cli.exe'

wine "$setup" /S || fail "the silent install exited with $?"
[ -f "$programs/corsaro270-cli.exe" ] || fail "no corsaro270-cli.exe in Program Files"
[ -f "$programs/uninstall.exe" ] || fail "no uninstaller in Program Files"
[ -f "$menu/Corsaro270 Command Line.lnk" ] || fail "no Start-menu entry: $(ls "$menu" 2>&1)"
wine reg query "$key" /v UninstallString 2>/dev/null | tr -d '\r' |
  grep -qF '"C:\Program Files\Corsaro270\uninstall.exe"' ||
  fail "the installed programs' list has no uninstall entry"

# The installed tool runs, and finds no receiver among Wine's devices.
export CORSARO_CLI_EXE=$installed_cli
cli=$here/wine_cli.sh
[ "$("$cli" --version)" = "corsaro270-cli 1.3" ] || fail "installed --version: $("$cli" --version)"
"$cli" list >list.out 2>list.err || fail "installed list exited with $?"
[ -s list.out ] && fail "installed list printed: $(cat list.out)"
[ "$(cat list.err)" = "No receiver found." ] || fail "installed list said: $(cat list.err)"
# Writing over stored profiles keeps a backup of them in the user's folder.
"$cli" --virtual flash.bin read-profile 1 p1.cs270 >/dev/null || fail "installed read-profile"
for _ in 1 2; do
  "$cli" --virtual flash.bin write-profiles p1.cs270 p1.cs270 p1.cs270 >/dev/null ||
    fail "installed write-profiles"
done
# The newest backup's Windows path, from the JSON (backslashes escaped there), as a host path.
backup=$("$cli" --virtual flash.bin backups --json | grep -o '"file":"[^"]*"' | head -1 |
  sed 's/^"file":"//; s/"$//; s/\\\\/\\/g')
backup=$(wine winepath -u "$backup" 2>/dev/null | tr -d '\r')
[ -f "$backup" ] || fail "no backup of the replaced profiles: '$backup'"

# The installed demo opens its window, runs a script on the bundled presets and ends.
[ -f "$programs/corsaro270-demo.exe" ] || fail "no corsaro270-demo.exe in Program Files"
[ -f "$programs/presets/tarnwick270/settings.xml" ] || fail "no bundled presets in Program Files"
if command -v xvfb-run >/dev/null; then
  printf 'wait-state 6\nscreenshot main\nquit\n' >demo.txt
  # Started from where it was installed, in a Wine session of its own with a display.
  bash "$here/wine_gui.sh" "$work/demo-prefix" "Z:$programs/corsaro270-demo.exe" \
    --script "Z:$work/demo.txt" --out "Z:$work/demo" >demo.out 2>demo.err ||
    fail "the installed demo's scripted run exited with $?: $(cat demo.err)"
  [ -s demo/main.png ] || fail "the installed demo took no screenshot: $(cat demo.err)"
  grep -q "failed" demo/Corsaro270.log && fail "the installed demo's log: $(grep failed demo/Corsaro270.log)"
else
  fail "xvfb-run is missing (scripts/setup installs xvfb): the installed demo cannot be run"
fi

# The uninstaller copies itself away and returns at once; the copy removes the programs.
wine "C:\\Program Files\\Corsaro270\\uninstall.exe" /S || fail "the silent uninstall exited with $?"
for _ in $(seq 1 300); do
  [ -e "$programs" ] || [ -e "$menu" ] || break
  sleep 0.2
done
[ -e "$programs" ] && fail "Program Files still holds: $(ls "$programs")"
[ -e "$menu" ] && fail "the Start-menu folder is still there: $(ls "$menu")"
wine reg query "$key" >/dev/null 2>&1 && fail "the uninstall entry is still listed"
[ -f "$backup" ] || fail "the backup in %LOCALAPPDATA% went with the programs"
[ $failures = 0 ] && echo "installed, ran and uninstalled $(basename "$setup")"
exit $failures
