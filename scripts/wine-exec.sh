#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's own prefix and quiet settings.
# CTest calls this for every test of the Windows builds; scripts/test.sh prepares the prefix.
#
# The loader follows the exe: a 32-bit exe runs on /usr/bin/wine (which needs wine32 and a
# kernel that runs 32-bit programs), anything else (64-bit exes, Wine's own tools such as
# wineboot or regedit) on wine64 directly, because /usr/bin/wine prefers the 32-bit loader
# whenever wine32 is installed, even on kernels that cannot run 32-bit programs.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
export WINEPREFIX=${WINEPREFIX:-$PAL4_ROOT/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ "$(pe_machine "${1:-}")" = 014c ] && [ -x /usr/lib/wine/wine ]; then
    export WINELOADER=/usr/lib/wine/wine
    exec /usr/lib/wine/wine "$@"
fi
if [ -x /usr/lib/wine/wine64 ]; then
    export WINELOADER=/usr/lib/wine/wine64
    exec /usr/lib/wine/wine64 "$@"
fi
exec wine "$@"
