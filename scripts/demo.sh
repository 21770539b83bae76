#!/usr/bin/env bash
# Builds the tool and starts it under Wine, beside the simulated game when that is built.
# With a display: runs until you close the tool's window, then closes the game.
# Without one ($DISPLAY unset): runs both on a private Xvfb for a few seconds, presses the
# tool's toggle button to open the subtitles over the game, saves a screenshot of the whole
# screen to build/demo-screenshot.png, closes everything and ends.
# Installs what is missing first.
#
# Settings: PAL4_BUILD_DIR (default build), PAL4_DEMO_SECONDS (default 8),
# PAL4_DEMO_SCREENSHOT (default build/demo-screenshot.png), WINEPREFIX (default build/wineprefix).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
source "$PAL4_ROOT/scripts/lib/xvfb.sh"
cd "$PAL4_ROOT"

demo_seconds=${PAL4_DEMO_SECONDS:-8}
screenshot=${PAL4_DEMO_SCREENSHOT:-$PAL4_ROOT/build/demo-screenshot.png}
export WINEPREFIX=${WINEPREFIX:-$PAL4_ROOT/build/wineprefix}
wine_exec=$PAL4_ROOT/scripts/wine-exec.sh

game_pid=""
tool_pid=""

# Asks a program to close as a user would (taskkill without /F posts WM_CLOSE to its windows),
# and forces it only when it is still there after a while.
close_program() {
    local exe_name=$1 pid=$2
    [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null || return 0
    "$wine_exec" taskkill /IM "$exe_name" >/dev/null 2>&1 || true
    local waited
    for waited in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    if kill -0 "$pid" 2>/dev/null; then
        note "$exe_name did not close; ending it"
        "$wine_exec" taskkill /F /IM "$exe_name" >/dev/null 2>&1 || true
    fi
    wait "$pid" 2>/dev/null || true
}

finish() {
    close_program Pal4Subtitles.exe "$tool_pid"
    close_program Pal4.exe "$game_pid"
    timeout 30 /usr/bin/wineserver -w 2>/dev/null || true
    stop_private_display
}
trap finish EXIT

step "Installing missing packages"
bash "$PAL4_ROOT/scripts/install-deps.sh"

# The product is the 32-bit exe; where this machine cannot run it, the 64-bit twin stands in.
if wine_runs_32bit; then
    preset=windows
else
    preset=windows-x64
fi
build_dir=${PAL4_BUILD_DIR:-build}/$preset

if [ "$preset" = windows ]; then
    step "Building the tool, 32-bit like the game, in $build_dir"
else
    step "Building the tool's 64-bit twin in $build_dir: $(why_no_32bit)"
fi
mkdir -p "$(dirname "$build_dir")"
if [ ! -f "$build_dir/build.ninja" ]; then
    cmake --preset "$preset" -B "$build_dir" >/dev/null
fi
cmake --build "$build_dir" -j "$PAL4_JOBS" --target Pal4Subtitles
if ninja -C "$build_dir" -t targets all 2>/dev/null | grep -q '^simgame:'; then
    step "Building the simulated game"
    # The game is a test fixture: the demo goes on without it when it does not build.
    cmake --build "$build_dir" -j "$PAL4_JOBS" --target simgame ||
        note "the simulated game did not build; the tool runs alone"
fi

stop_if_32bit_cannot_run "$build_dir/src/Pal4Subtitles.exe" "${PAL4_BUILD_DIR:-build}"
bash "$PAL4_ROOT/scripts/wine-prefix.sh"

headless=false
if [ -z "${DISPLAY:-}" ]; then
    headless=true
fi
step "Making sure there is a display"
ensure_display

game_exe=$build_dir/tools/simgame/Pal4.exe
if [ -f "$game_exe" ]; then
    step "Starting the simulated game: $game_exe"
    "$wine_exec" "$game_exe" &
    game_pid=$!
else
    step "No simulated game built yet: starting the tool alone"
fi

step "Starting the tool: $build_dir/src/Pal4Subtitles.exe"
"$wine_exec" "$build_dir/src/Pal4Subtitles.exe" &
tool_pid=$!

# The id of the first window whose title matches, waiting up to 30 s for it; empty if none.
wait_for_window() {
    local title=$1 window="" tries
    for tries in $(seq 1 150); do
        window=$(xdotool search --name "$title" 2>/dev/null | head -1 || true)
        [ -n "$window" ] && break
        sleep 0.2
    done
    echo "$window"
}

# A number of the panel's design at 96 DPI, read from the header that the exe is built from.
panel_design_number() {
    sed -n "s/.*static constexpr int $1 = \([0-9]*\);.*/\1/p" src/win32/panel_window/panel_window.hpp | grep .
}

# Left, top, width and height of the toggle button, from the panel's table of controls.
toggle_button_design() {
    sed -n 's/.*{ID_TOGGLE, ControlKind::PushButton, \([0-9]*\), \([0-9]*\), \([0-9]*\), \([0-9]*\),.*/\1 \2 \3 \4/p' \
        src/win32/panel_window/panel_layout.hpp | grep .
}

# Presses the panel's toggle button as a user would, to open the subtitles over the game. The
# panel's X window holds Wine's own frame; the client area is centred across its width.
press_toggle() {
    local panel
    panel=$(wait_for_window '^仙剑4外挂字幕$')
    if [ -z "$panel" ]; then
        note "the tool's panel did not appear"
        return 0
    fi
    # The design numbers come from the panel's own layout, so a moved button is still hit.
    local client_width client_height button left top width height
    if ! client_width=$(panel_design_number DESIGN_CLIENT_WIDTH) ||
        ! client_height=$(panel_design_number DESIGN_CLIENT_HEIGHT) ||
        ! button=$(toggle_button_design); then
        note "the panel's design numbers were not found in src/win32/panel_window/; the toggle is not pressed"
        return 0
    fi
    read -r left top width height <<<"$button"
    local WIDTH HEIGHT X Y SCREEN WINDOW
    # Without a window manager a window mapped later covers it: the game's, if it came last.
    xdotool windowraise "$panel" 2>/dev/null || true
    eval "$(xdotool getwindowgeometry --shell "$panel")"
    local frame=$(((WIDTH - client_width) / 2))
    local caption=$((HEIGHT - client_height - frame))
    xdotool mousemove --window "$panel" $((frame + left + width / 2)) \
        $((caption + top + height / 2)) click 1
}

if $headless; then
    step "Letting it run for $demo_seconds s on $DISPLAY"
    if [ -n "$game_pid" ]; then
        # The game shows its window at once and leaves its title screen 1.5 s later; a first
        # start of Wine in a prefix can take several seconds, so wait for the window first.
        if [ -z "$(wait_for_window '^Pal4 \(simulated\)$')" ]; then
            note "the simulated game's window did not appear"
        fi
        sleep 3
        step "Pressing the toggle button to open the subtitles over the game"
        press_toggle
        sleep "$((demo_seconds > 3 ? demo_seconds - 3 : 1))"
    else
        sleep "$demo_seconds"
    fi
    mkdir -p "$(dirname "$screenshot")"
    import -display "$DISPLAY" -window root "$screenshot"
    step "Screenshot of the screen saved to $screenshot"
else
    step "Running until the tool's window is closed"
    wait "$tool_pid" || true
    tool_pid=""
fi
step "Closing everything"
