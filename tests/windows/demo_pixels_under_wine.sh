#!/usr/bin/env bash
# The demo's scripted runs on Windows and on Linux draw the same pictures: each script runs through
# `wine corsaro270-demo.exe` on an X server of its own (Xvfb; Wine's WGL reaches Mesa's llvmpipe
# through GLX), in a Wine prefix of this test's own (tests/windows/wine_gui.sh), and through the
# Linux build's demo on SDL's off-screen driver; every screenshot of the two runs must be equal
# pixel for pixel.
# Usage: demo_pixels_under_wine.sh DEMO_EXE LINUX_BUILD_DIR WORK_FOLDER SCRIPT...
# Exits 77, saying why, where Wine, Xvfb, Python's imaging library or the Linux build is missing.
set -u
here=$(dirname "$(readlink -f "$0")")
exe=$1 linux_build=$2 work=$3
shift 3
skip() {
  echo "SKIP: $1"
  exit 77
}
[ -n "${CORSARO_WINE:-}" ] && [ -x "$CORSARO_WINE" ] || skip "Wine is not installed (scripts/setup installs wine64)"
command -v xvfb-run >/dev/null || skip "xvfb-run is not installed (scripts/setup installs xvfb)"
/usr/bin/python3 -c 'import PIL' 2>/dev/null || skip "Python's imaging library is missing (python3-pil)"
linux_demo=$linux_build/bin/corsaro270-demo
[ -x "$linux_demo" ] || skip "no Linux build's demo at $linux_demo (build it with scripts/build, or set CORSARO_LINUX_BUILD_DIR)"

rm -rf "$work"
mkdir -p "$work"
failures=0
for script in "$@"; do
  name=$(basename "$script" .txt)
  linux_out=$work/$name/linux windows_out=$work/$name/windows
  mkdir -p "$linux_out" "$windows_out"
  # Every wait is bounded: a run that hangs ends after two minutes and fails.
  if ! SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy XDG_STATE_HOME=$work/state \
      timeout 120 "$linux_demo" --script "$script" --out "$linux_out" \
      >"$work/$name/linux.stdout" 2>"$work/$name/linux.stderr"; then
    echo "FAIL $name: the Linux demo did not finish its script:"
    cat "$work/$name/linux.stderr"
    failures=$((failures + 1))
    continue
  fi
  if ! bash "$here/wine_gui.sh" "$work/../demo_pixels-prefix" "$exe" --script "Z:$script" \
      --out "Z:$windows_out" >"$work/$name/windows.stdout" 2>"$work/$name/windows.stderr"; then
    echo "FAIL $name: the Windows demo did not finish its script under Wine:"
    cat "$work/$name/windows.stderr"
    failures=$((failures + 1))
    continue
  fi
  shots=$(cd "$linux_out" && ls -- *.png 2>/dev/null)
  if [ -z "$shots" ]; then
    echo "FAIL $name: the Linux run took no screenshot"
    failures=$((failures + 1))
    continue
  fi
  for shot in $shots; do
    if [ ! -f "$windows_out/$shot" ]; then
      echo "FAIL $name/$shot: the Windows run did not take it"
      failures=$((failures + 1))
    elif verdict=$(/usr/bin/python3 "$here/same_pixels.py" "$linux_out/$shot" "$windows_out/$shot"); then
      echo "same pixels: $name/$shot"
    else
      echo "FAIL $name/$shot: $verdict (pictures in $work/$name)"
      failures=$((failures + 1))
    fi
  done
done
if [ "$failures" -gt 0 ]; then
  echo "$failures screenshot(s) differ between Windows and Linux"
  exit 1
fi
echo "every screenshot is the same on Windows and Linux"
