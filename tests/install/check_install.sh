#!/usr/bin/env bash
# Installs a build into an empty folder and checks what a user gets: every file in its place, the
# desktop file and the metainfo valid, the man pages clean, and the installed program, which may
# not write beside itself, logging under XDG_STATE_HOME. Usage: check_install.sh BUILD-DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >/dev/null

for program in corsaro270 corsaro270-demo corsaro270-cli corsaro270-emu; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is not installed"
done
for file in \
  lib/udev/rules.d/60-corsaro270.rules \
  share/applications/corsaro270.desktop \
  share/icons/hicolor/256x256/apps/corsaro270.png \
  share/metainfo/example.corsaro270.Customiser.metainfo.xml \
  share/man/man1/corsaro270.1.gz share/man/man1/corsaro270-cli.1.gz \
  share/man/man1/corsaro270-demo.1.gz share/man/man1/corsaro270-emu.1.gz share/doc/corsaro270/changelog.gz \
  share/doc/corsaro270/copyright \
  share/corsaro270/presets/tarnwick270/settings.xml lib/corsaro270/gtk-dialogs.so; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done

# The logged-in user may open the receiver's hidraw nodes, under both product IDs.
rule=$prefix/lib/udev/rules.d/60-corsaro270.rules
for product in 0262 0252; do
  grep -qx "KERNEL==\"hidraw\*\", ATTRS{idVendor}==\"2e7b\", ATTRS{idProduct}==\"$product\", TAG+=\"uaccess\"" \
    "$rule" || fail "the udev rule does not give access to product $product"
done

desktop=$prefix/share/applications/corsaro270.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate refused the desktop file"
appstreamcli validate --no-net "$prefix/share/metainfo/example.corsaro270.Customiser.metainfo.xml" \
  >/dev/null || fail "appstreamcli refused the metainfo file"
grep -qx 'Exec=corsaro270' "$desktop" || fail "the desktop file does not start corsaro270"
grep -qx 'Icon=corsaro270' "$desktop" || fail "the desktop file does not name the icon"
# A PNG of 256 by 256: the width and height words of its header.
[ "$(od -An -tx1 -j16 -N8 "$prefix/share/icons/hicolor/256x256/apps/corsaro270.png" | tr -d ' \n')" \
  = 0000010000000100 ] || fail "the icon is not 256 by 256"

for page in corsaro270 corsaro270-cli corsaro270-demo corsaro270-emu; do
  warnings=$(MANROFFSEQ='' man --warnings -M "$prefix/share/man" -E UTF-8 "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page: $warnings"
  man -M "$prefix/share/man" "$page" 2>/dev/null | grep -q 'NAME' || fail "man $page shows nothing"
done

# --help and --version print and exit without a window; any other argument is ignored as before.
installed=$prefix/bin/corsaro270
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$installed" --help 2>&1) || fail "--help exited with $?"
head -1 <<<"$out" | grep -qx 'Usage: corsaro270 \[--help | --version\]' || fail "--help printed: $out"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$installed" --version 2>&1) ||
  fail "--version exited with $?"
[ "$out" = "corsaro270 1.3" ] || fail "--version printed: $out"

# Installed, and run without a display by a user who may not write in its folder: the log goes to
# the state folder, and the program says why it stops.
run_installed() {
  local home=$1
  shift
  env -i PATH=/usr/bin:/bin HOME="$home" XDG_STATE_HOME="$home/state" XDG_RUNTIME_DIR="$home/run" \
    ASAN_OPTIONS=detect_leaks=0 "$@" "$prefix/bin/corsaro270" 2>"$home/stderr.txt"
}
check_run() {
  local home=$1 status=$2 who=$3
  [ "$status" -eq 1 ] || fail "$who: the program ended with $status, not 1"
  grep -q "Can't create window" "$home/stderr.txt" || fail "$who: nothing on standard error"
  grep -q "Can't create window" "$home/state/corsaro270/Corsaro270.log" 2>/dev/null ||
    fail "$who: no log under XDG_STATE_HOME"
  [ ! -e "$prefix/bin/Corsaro270.log" ] || fail "$who: a log was written beside the program"
}
home=$prefix/home
mkdir -m 700 -p "$home/run"
status=0
run_installed "$home" || status=$?
check_run "$home" "$status" "$(id -un)"
status=0
env -i PATH=/usr/bin:/bin HOME="$home" XDG_STATE_HOME="$home/state" XDG_RUNTIME_DIR="$home/run" \
  ASAN_OPTIONS=detect_leaks=0 "$installed" --frobnicate 2>"$home/stderr.txt" || status=$?
check_run "$home" "$status" "an unknown argument"
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
  chmod 755 "$prefix"
  home=$prefix/nobody
  mkdir -m 700 -p "$home/run"
  chown -R nobody:nogroup "$home"
  status=0
  run_installed "$home" setpriv --reuid=nobody --regid=nogroup --clear-groups || status=$?
  check_run "$home" "$status" nobody
fi

[ "$failures" -eq 0 ] || exit 1
echo "The installed tree is complete."
