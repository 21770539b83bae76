#!/usr/bin/env bash
# Runs a Windows exe under Wine with the project's own prefix and quiet settings.
# CTest calls this for every test of the Windows builds; scripts/test.sh prepares the prefix.
#
# 64-bit exes run on wine64 directly: /usr/bin/wine prefers the 32-bit loader whenever
# wine32 is installed, even on kernels that cannot run 32-bit programs.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ -x /usr/lib/wine/wine64 ]; then
    export WINELOADER=/usr/lib/wine/wine64
    exec /usr/lib/wine/wine64 "$@"
fi
exec wine "$@"
