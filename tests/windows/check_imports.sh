#!/usr/bin/env bash
# Every .exe of the Windows build imports only DLLs that Windows itself ships: a runtime, winpthread
# or zlib left dynamic would run under Wine, which carries some of them, and fail on a user's
# Windows. Usage: check_imports.sh BIN_FOLDER
set -u
folder=$1
objdump=x86_64-w64-mingw32-objdump
if ! command -v "$objdump" >/dev/null; then
  echo "SKIP: $objdump is missing (scripts/setup installs the mingw-w64 toolchain)"
  exit 77
fi
# The system DLLs a program may import (lower case), as every Windows 10 and 11 has them.
system=" kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll
  shlwapi.dll comdlg32.dll comctl32.dll ws2_32.dll wininet.dll winmm.dll msvcrt.dll ucrtbase.dll
  setupapi.dll hid.dll cfgmgr32.dll opengl32.dll windowscodecs.dll dwmapi.dll imm32.dll
  version.dll bcrypt.dll crypt32.dll secur32.dll rpcrt4.dll ntdll.dll uxtheme.dll powrprof.dll "
shopt -s nullglob
programs=("$folder"/*.exe)
if [ ${#programs[@]} = 0 ]; then
  echo "no .exe in $folder"
  exit 1
fi
failures=0
for program in "${programs[@]}"; do
  imports=$("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
  if [ -z "$imports" ]; then
    echo "FAIL: $(basename "$program"): no imports read"
    failures=$((failures + 1))
    continue
  fi
  for dll in $imports; do
    if [[ $system != *" $dll "* && $dll != api-ms-win-* ]]; then
      echo "FAIL: $(basename "$program") imports $dll, which Windows does not ship"
      failures=$((failures + 1))
    fi
  done
done
[ $failures = 0 ] && echo "${#programs[@]} programs import Windows system DLLs only"
exit $failures
