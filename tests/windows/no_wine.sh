#!/usr/bin/env bash
# Stands in for Wine as the Windows build's test emulator where Wine is missing: every Windows
# test is skipped (77) with the reason instead of failing to start.
echo "SKIP: Wine is not installed (scripts/setup installs wine64); not running $1"
exit 77
