#!/usr/bin/env bash
# Makes the Debian package from a build tree and checks it as Debian would: lintian finds no error
# and no warning, the manual pages and the changelog are compressed, the programs stripped with
# their debug symbols in the dbgsym package, and postrm reloads udev. A release tree configured
# beside it shows the hardening flags that the packaged build gets.
# Usage: check_package.sh BUILD-DIR SOURCE-DIR; exits 77 (skipped) without lintian.
set -uo pipefail
build=$1
source=$2
if ! command -v lintian >/dev/null; then
  echo "lintian is not installed (scripts/setup installs it): the package is not checked"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack failed"; exit 1; }
deb=$(ls "$work"/out/corsaro270_*.deb)
ddeb=$(ls "$work"/out/corsaro270-dbgsym_*.ddeb 2>/dev/null)

lintian --fail-on error,warning "$deb" || fail "lintian refused the package"

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for file in usr/share/man/man1/corsaro270.1.gz usr/share/man/man1/corsaro270-cli.1.gz \
  usr/share/man/man1/corsaro270-demo.1.gz usr/share/doc/corsaro270/changelog.gz \
  usr/share/doc/corsaro270/copyright; do
  grep -qx "\./$file" <<<"$contents" || fail "the package holds no $file"
done
dpkg-deb --extract "$deb" "$work/root"
debug_files=$([ -n "$ddeb" ] && dpkg-deb --contents "$ddeb")
for program in bin/corsaro270 bin/corsaro270-demo bin/corsaro270-cli lib/corsaro270/gtk-dialogs.so; do
  description=$(file -b "$work/root/usr/$program")
  grep -q ", stripped" <<<"$description" || fail "$program is not stripped: $description"
  ! readelf -S "$work/root/usr/$program" | grep -q ' \.comment ' ||
    fail "$program keeps its .comment section"
  build_id=$(readelf -n "$work/root/usr/$program" | awk '/Build ID/ {print $3}')
  grep -q "usr/lib/debug/.build-id/${build_id:0:2}/${build_id:2}.debug" <<<"$debug_files" ||
    fail "no debug symbols for $program in the dbgsym package"
done
# The dialogs' module links GTK, so the package depends on it although no program links it.
dpkg-deb --field "$deb" Depends | grep -q 'libgtk-3-0' || fail "the package does not depend on GTK"
dpkg-deb --control "$deb" "$work/control"
grep -q 'udevadm control --reload-rules' "$work/control/postrm" 2>/dev/null ||
  fail "postrm does not reload the udev rules"

# The flags of a release build, read from a tree that is only configured.
cmake -S "$source" -B "$work/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCORSARO_TESTS=OFF -DCORSARO_BENCHMARKS=OFF >"$work/configure.log" 2>&1 ||
  { cat "$work/configure.log"; fail "the release tree does not configure"; exit 1; }
# A program's own source: the libraries' are compiled -fPIC, which serves a PIE as well.
compile=$(grep -m1 '"command": .*app/corsaro270_main.cpp' "$work/release/compile_commands.json")
for flag in -D_FORTIFY_SOURCE=2 -fstack-protector-strong -fPIE -O2; do
  grep -qe " $flag " <<<"$compile" || fail "a release build compiles without $flag"
done
link=$(grep -A3 '^build bin/corsaro270:' "$work/release/build.ninja")
for flag in -Wl,-z,relro,-z,now -pie; do
  grep -qe "$flag" <<<"$link" || fail "a release build links without $flag"
done

[ "$failures" -eq 0 ] || exit 1
echo "The package is clean."
