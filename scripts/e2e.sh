#!/usr/bin/env bash
# End-to-end suite: the given Pal4Subtitles.exe against the simulated game, driven from outside
# by tests/e2e/driver (pal4_e2e.exe). Usage:
#
#   bash scripts/e2e.sh PATH/TO/Pal4Subtitles.exe [--only NAME-SUBSTRING]
#
# Builds the driver and the simulated game of the exe's width (preset windows for 32-bit,
# windows-x64 for 64-bit) in ${PAL4_BUILD_DIR:-build}/<preset>, runs the suite in a Wine prefix
# of its own, then once more at 144 DPI in a copy of that prefix. Installs nothing. Ends with the
# line "N passed, M failed" and a non-zero status when anything failed. Whatever happens, it
# leaves no Wine process, Xvfb or temporary folder behind. A 32-bit exe where 32-bit programs
# cannot run stops it at once, with the reason and the 64-bit twin's path.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
source "$PAL4_ROOT/scripts/lib/xvfb.sh"
source "$PAL4_ROOT/scripts/lib/browser.sh"

if [ $# -lt 1 ] || [ ! -f "$1" ]; then
    echo "usage: $0 PATH/TO/Pal4Subtitles.exe [--only NAME-SUBSTRING]" >&2
    exit 2
fi
tool_exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
shift
driver_args=("$@")

build_root=$(realpath -m "${PAL4_BUILD_DIR:-$PAL4_ROOT/build}") # Wine wants absolute prefixes
stop_if_32bit_cannot_run "$tool_exe" "$build_root"
suite_prefix=$build_root/e2e-prefix
dpi_prefix=$build_root/e2e-prefix-144dpi
suite_timeout=${PAL4_E2E_TIMEOUT:-300}
wine_exec=$PAL4_ROOT/scripts/wine-exec.sh
scratch=$(mktemp -d)

cleanup() {
    stop_browser
    local prefix
    for prefix in "$suite_prefix" "$dpi_prefix"; do
        if [ -d "$prefix" ]; then
            WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
        fi
    done
    stop_private_display
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

machine=$(pe_machine "$tool_exe")
case $machine in
014c) preset=windows ;;
8664) preset=windows-x64 ;;
*)
    echo "error: $tool_exe is no Windows exe this suite knows (machine '$machine')" >&2
    exit 2
    ;;
esac

step "Building the end-to-end driver and the simulated game ($preset)"
build_dir=$build_root/$preset
# Configured anew when the build predates the driver: CMake finds test folders when it configures.
if [ ! -f "$build_dir/build.ninja" ] ||
    ! ninja -C "$build_dir" -t targets all 2>/dev/null | grep -q '^pal4_e2e:'; then
    cmake --preset "$preset" -B "$build_dir" >/dev/null
fi
cmake --build "$build_dir" -j"$PAL4_JOBS" --target pal4_e2e simgame

step "Preparing the suite's Wine prefix"
WINEPREFIX=$suite_prefix bash "$PAL4_ROOT/scripts/wine-prefix.sh"
ensure_display

# The web scenario opens the tool's page in a real browser: a headless Chromium on its own
# profile, whose DevTools port the driver is given. Without chromium (scripts/install-deps.sh
# installs it) that scenario checks the feeds alone and says so.
browser_args=()
start_browser "$scratch"
if [ -n "$PAL4_BROWSER_PORT" ]; then
    browser_args=(--browser-port "$PAL4_BROWSER_PORT")
elif command -v chromium >/dev/null 2>&1; then
    note "chromium did not start: $(tail -n 1 "$scratch/chromium.log")"
else
    note "no chromium: the web scenario checks the tool's page without a browser"
fi

driver=$build_dir/tests/e2e/driver/pal4_e2e.exe
game=$build_dir/tools/simgame/Pal4.exe

# Runs the driver in a prefix under a timeout; its output goes to the screen and to $2.
run_driver() {
    local prefix=$1 log=$2
    shift 2
    local status=0
    WINEPREFIX=$prefix timeout --kill-after=10 "$suite_timeout" "$wine_exec" "$driver" \
        --tool "$tool_exe" --game "$game" "$@" 2>/dev/null | tee "$log" || status=$?
    # Whatever a timed-out driver left running goes with its wineserver.
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
    return "$status"
}

# Adds a driver run's counts to the totals; a run that printed no count counts as one failure.
passed=0
failed=0
count_run() {
    local line
    line=$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$1" | tail -n 1 || true)
    if [ -z "$line" ]; then
        echo "FAIL $2: the driver ended without its summary (timeout or crash)"
        failed=$((failed + 1))
        return
    fi
    passed=$((passed + $(echo "$line" | cut -d' ' -f1)))
    failed=$((failed + $(echo "$line" | cut -d' ' -f3)))
}

step "Running the scenarios at 96 DPI"
run_driver "$suite_prefix" "$scratch/96.log" "${driver_args[@]}" "${browser_args[@]}" || true
count_run "$scratch/96.log" "suite at 96 DPI"

# The DPI pass runs with the whole suite only; a run narrowed with --only skips it.
if [ ${#driver_args[@]} -eq 0 ]; then
    step "Running the DPI scenario at 144 DPI in a copy of the prefix"
    if [ ! -f "$dpi_prefix/.pal4-144dpi" ] ||
        [ "$suite_prefix/.pal4-prefix" -nt "$dpi_prefix/.pal4-144dpi" ]; then
        rm -rf "$dpi_prefix"
        cp -a "$suite_prefix" "$dpi_prefix"
        {
            printf '\xff\xfe'
            printf 'Windows Registry Editor Version 5.00\r\n\r\n%s\r\n%s\r\n\r\n' \
                '[HKEY_CURRENT_USER\Control Panel\Desktop]' '"LogPixels"=dword:00000090' |
                iconv -f UTF-8 -t UTF-16LE
        } >"$scratch/dpi.reg"
        WINEPREFIX=$dpi_prefix "$wine_exec" regedit /S "Z:${scratch//\//\\}\\dpi.reg" >/dev/null 2>&1
        # The registry reaches the prefix's files only when its server ends.
        WINEPREFIX=$dpi_prefix wineserver -w
        touch "$dpi_prefix/.pal4-144dpi"
    fi
    run_driver "$dpi_prefix" "$scratch/144.log" --dpi 144 --only screen-dpi || true
    count_run "$scratch/144.log" "suite at 144 DPI"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
