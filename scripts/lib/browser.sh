# A headless Chromium for the tool's page, with its DevTools on 127.0.0.1; sourced by the
# scripts that read the page (the end-to-end suite, the benchmark).
#
# start_browser DIR: starts chromium on a new profile in DIR (its output in DIR/chromium.log)
# and sets PAL4_BROWSER_PORT to its DevTools port, empty when chromium is missing or did not
# start. stop_browser ends it; call it on exit.

PAL4_BROWSER_PID=""
PAL4_BROWSER_PORT=""

start_browser() {
    local dir=$1
    PAL4_BROWSER_PORT=""
    command -v chromium >/dev/null 2>&1 || return 0
    mkdir -p "$dir/chromium-profile"
    # The flags keep it off the network, which this machine's closed network would refuse.
    chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --disable-background-timer-throttling --disable-renderer-backgrounding \
        --user-data-dir="$dir/chromium-profile" --remote-debugging-port=0 about:blank \
        >"$dir/chromium.log" 2>&1 &
    PAL4_BROWSER_PID=$!
    for _ in $(seq 1 100); do
        [ -s "$dir/chromium-profile/DevToolsActivePort" ] && break
        sleep 0.1
    done
    if [ -s "$dir/chromium-profile/DevToolsActivePort" ]; then
        PAL4_BROWSER_PORT=$(head -n 1 "$dir/chromium-profile/DevToolsActivePort")
    fi
}

stop_browser() {
    if [ -n "$PAL4_BROWSER_PID" ]; then
        kill "$PAL4_BROWSER_PID" 2>/dev/null || true
        wait "$PAL4_BROWSER_PID" 2>/dev/null || true
        PAL4_BROWSER_PID=""
    fi
}
