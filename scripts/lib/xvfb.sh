# A private X display for Wine's windows when there is none; sourced by the scripts.
#
# ensure_display: when $DISPLAY is unset, starts Xvfb on the first free display number from
# 90 up, exports DISPLAY and stops that server with SIGTERM when the script exits. A display
# that was already there is used as it is and never stopped. The screen is
# ${PAL4_SCREEN_SIZE:-1280x800} (width x height), as the end-to-end suite expects by default.

PAL4_XVFB_PID=""

stop_private_display() {
    if [ -n "$PAL4_XVFB_PID" ]; then
        # SIGTERM, not SIGKILL: a killed Xvfb leaves its lock file behind and the number looks taken.
        kill -TERM "$PAL4_XVFB_PID" 2>/dev/null || true
        wait "$PAL4_XVFB_PID" 2>/dev/null || true
        PAL4_XVFB_PID=""
    fi
}

display_number_taken() {
    [ -e "/tmp/.X$1-lock" ] || [ -e "/tmp/.X11-unix/X$1" ]
}

ensure_display() {
    if [ -n "${DISPLAY:-}" ]; then
        note "using the existing display $DISPLAY"
        return 0
    fi
    local number
    for number in $(seq 90 189); do
        if display_number_taken "$number"; then
            continue
        fi
        Xvfb ":$number" -screen 0 "${PAL4_SCREEN_SIZE:-1280x800}x24" -nolisten tcp >/dev/null 2>&1 &
        PAL4_XVFB_PID=$!
        local tries
        for tries in $(seq 1 50); do
            if [ -e "/tmp/.X11-unix/X$number" ]; then
                export DISPLAY=":$number"
                note "started a private Xvfb on $DISPLAY (pid $PAL4_XVFB_PID)"
                return 0
            fi
            if ! kill -0 "$PAL4_XVFB_PID" 2>/dev/null; then
                break # another server took the number between the check and the start
            fi
            sleep 0.1
        done
        stop_private_display
    done
    echo "error: could not start Xvfb on any display from :90 to :189" >&2
    return 1
}
