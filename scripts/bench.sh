#!/usr/bin/env bash
# Measures the subtitle tool beside the simulated game under Wine and prints each figure with its
# goal: how fast a new dialogue line reaches the screen, the CPU time spent polling a line that
# does not change (64 KiB and 16 MiB text regions), the CPU time of ten new lines a second with
# the switch 记录对白 off and on and what the story log kept of them, the log of a tool killed
# while it writes, resident memory beside an idle Wine program and its growth over open/close
# cycles of the overlay, stepping back through the lines with the hot key and the backlog's
# memory over the longest lines, the size of the stripped exe, and the web feeds: the CPU time of ten
# new lines a second with 16 clients against the server off, how fast a line reaches a plain
# WebSocket client and the page in a headless Chromium, and 200 bad clients; and full screen:
# how soon the game's window takes it and comes back, exactly, the subtitle's place on the
# scaled picture, the window given back by the start after a kill, and the CPU at full screen.
#
#   bash scripts/bench.sh [PATH/TO/Pal4Subtitles.exe]
#
# Default exe: the 32-bit build ${PAL4_BUILD_DIR:-build}/windows/src/Pal4Subtitles.exe where the
# kernel runs 32-bit programs, else the 64-bit twin in build/windows-x64 (built when missing). A
# 32-bit exe where 32-bit programs cannot run stops it at once, naming the twin.
# Builds the simulated game (tools/simgame) and the probe (bench/latency) for the exe's width, uses its own
# Wine prefix ${PAL4_BUILD_DIR:-build}/bench-prefix and a private Xvfb when $DISPLAY is unset.
# Installs nothing. The figures are for information: a missed goal never fails the run; the exit
# status is non-zero only when nothing could be measured.
#
# Settings: PAL4_BENCH_LINES (40), PAL4_BENCH_CYCLES (150), PAL4_BENCH_CPU_SECONDS (10),
# PAL4_BENCH_THROUGHPUT_SECONDS (60, for each state of the switch), PAL4_BENCH_WEB_SECONDS (30,
# for the server off and on), PAL4_BENCH_WINDOW_TIMES (30 raises and moves of the game's
# window), PAL4_BENCH_BACKLOG_LINES (1000 of the longest text), PAL4_BENCH_BASELINE_EXE (another
# build whose CPU over the idle game's window the exe's is held against),
# PAL4_BENCH_FULLSCREEN_CYCLES (30 full screen on and off),
# PAL4_BENCH_FULLSCREEN_SCREENS ("1600x1200 1920x1080": the screens, 4:3 and 16:9, each a private
# Xvfb of its own; with $DISPLAY set, its screen alone), PAL4_BENCH_PICTURE (a file: the 16:9
# screen at full screen is saved there, for the README).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
source "$PAL4_ROOT/scripts/lib/xvfb.sh"
source "$PAL4_ROOT/scripts/lib/browser.sh"
cd "$PAL4_ROOT"

build_root=${PAL4_BUILD_DIR:-build}
case "$build_root" in /*) ;; *) build_root=$PAL4_ROOT/$build_root ;; esac
lines=${PAL4_BENCH_LINES:-40}
cycles=${PAL4_BENCH_CYCLES:-150}
cpu_seconds=${PAL4_BENCH_CPU_SECONDS:-10}
throughput_seconds=${PAL4_BENCH_THROUGHPUT_SECONDS:-60}
web_seconds=${PAL4_BENCH_WEB_SECONDS:-30}
web_port=36678
window_times=${PAL4_BENCH_WINDOW_TIMES:-30}
backlog_lines=${PAL4_BENCH_BACKLOG_LINES:-1000}
fullscreen_cycles=${PAL4_BENCH_FULLSCREEN_CYCLES:-30}
fullscreen_screens=${PAL4_BENCH_FULLSCREEN_SCREENS:-1600x1200 1920x1080}

export WINEPREFIX=$build_root/bench-prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES=mscoree,mshtml=
wine_exec=$PAL4_ROOT/scripts/wine-exec.sh

run_dir=""
main_xvfb_pid=""
cleanup() {
    stop_browser
    # Everything the run started lives in its own wineserver: ending that ends it all.
    if [ -d "$WINEPREFIX" ]; then
        timeout 20 /usr/bin/wineserver -k 2>/dev/null || true
    fi
    stop_private_display
    if [ -n "$main_xvfb_pid" ]; then
        PAL4_XVFB_PID=$main_xvfb_pid
        stop_private_display
    fi
    if [ -n "$run_dir" ]; then
        rm -rf "$run_dir"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# ---- the exe and its width -----------------------------------------------------------------
exe=${1:-}
if [ -z "$exe" ]; then
    if kernel_runs_32bit; then
        preset=windows
    else
        preset=windows-x64
    fi
    exe=$build_root/$preset/src/Pal4Subtitles.exe
    if [ ! -f "$exe" ]; then
        step "Building the tool ($preset) in $build_root/$preset"
        [ -f "$build_root/$preset/build.ninja" ] ||
            cmake --preset "$preset" -B "$build_root/$preset" >/dev/null
        cmake --build "$build_root/$preset" -j "$PAL4_JOBS" --target Pal4Subtitles
    fi
fi
if [ ! -f "$exe" ]; then
    echo "error: no exe at $exe" >&2
    exit 2
fi
exe=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")
stop_if_32bit_cannot_run "$exe" "$build_root"
case "$(pe_machine "$exe")" in
014c) arch=i686 bits=32 ;;
8664) arch=x86_64 bits=64 ;;
*)
    echo "error: $exe is not a 32-bit or 64-bit Windows exe" >&2
    exit 2
    ;;
esac

# ---- the probe and the simulated game, of the exe's width ------------------------------------
# The exe's own build tree has both when it is one of the project's Windows builds (the test
# command measures such an exe): built there, nothing is compiled twice. Any other exe gets them
# from a tree of their own.
exe_tree=$(dirname "$(dirname "$exe")")
if [ -f "$exe_tree/build.ninja" ] && [ "$(pe_machine "$exe_tree/src/Pal4Subtitles.exe")" = "$(pe_machine "$exe")" ] &&
    ninja -C "$exe_tree" -t targets all 2>/dev/null | grep -q '^latency_probe:'; then
    step "Building the probe and the simulated game ($arch) in the exe's own tree $exe_tree"
    cmake --build "$exe_tree" -j "$PAL4_JOBS" --target latency_probe simgame simgame_dialogue_module |
        grep -v '^\[' || true
    probe_build=$exe_tree/bench/latency
    game_exe=$exe_tree/tools/simgame/Pal4.exe
else
    probe_build=$build_root/bench-probe-$arch
    step "Building the probe and the simulated game ($arch) in $probe_build"
    if [ ! -f "$probe_build/build.ninja" ]; then
        cmake -S bench/latency -B "$probe_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$PAL4_ROOT/cmake/toolchain-mingw-$arch.cmake" >/dev/null
    fi
    cmake --build "$probe_build" -j "$PAL4_JOBS" --target latency_probe simgame simgame_dialogue_module |
        grep -v '^\[' || true
    game_exe=$probe_build/simgame/Pal4.exe
fi
[ -f "$probe_build/latency_probe.exe" ] && [ -f "$game_exe" ] || {
    echo "error: the probe or the simulated game did not build" >&2
    exit 2
}

bash scripts/wine-prefix.sh
step "Making sure there is a display"
ensure_display

# A folder of this run's own: the copies' paths in /proc tell this run's processes from any
# other helper's, and the tool's settings file lands here, not beside the build.
run_dir=$(mktemp -d /tmp/pal4-bench.XXXXXX)
cp "$exe" "$run_dir/Pal4Subtitles.exe"
cp "$probe_build/latency_probe.exe" "$run_dir/latency_probe.exe"
run_token=$(basename "$run_dir")

# The Unix pid of this run's Wine process of that exe: its command line holds the run folder
# and starts with the exe (Wine puts the Windows command line there; start.exe and the shells
# that started it hold the folder too, but further on).
unix_pid_of() {
    local exe_name=$1 cmdline entry pid
    for entry in /proc/[0-9]*; do
        pid=${entry#/proc/}
        cmdline=$({ tr '\0' '\n' <"/proc/$pid/cmdline"; } 2>/dev/null | head -1) || continue
        case "$cmdline" in
        *"$run_token"*"$exe_name" | *"$run_token"*"$exe_name\"") echo "$pid" && return 0 ;;
        esac
    done
    return 1
}

wait_for_pid() {
    local pid
    for _ in $(seq 1 100); do
        if pid=$(unix_pid_of "$1"); then
            echo "$pid"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

rss_kb() {
    awk '/^VmRSS:/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0
}

# utime + stime of the whole process (all threads), in clock ticks.
cpu_ticks() {
    # Fields after the command name, which is in parentheses and may hold spaces.
    sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'
}

# CPU time of all the process's threads in ns, from the scheduler's own accounting: finer than
# the clock ticks of /proc/<pid>/stat, to tell 0.3 ms/s from 1.9 ms/s.
cpu_ns() {
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{sum += $1} END {printf "%.0f", sum}'
}

# The mappings holding most of a process's resident memory: "kB name" lines, largest first.
largest_mappings() {
    awk '/^[0-9a-f]+-[0-9a-f]+ / {name = (NF >= 6) ? $NF : "[anonymous]"}
         /^Rss:/ {rss[name] += $2}
         END {for (n in rss) if (rss[n] > 0) print rss[n], n}' "/proc/$1/smaps" 2>/dev/null |
        sort -rn
}

# What the tool holds beyond the idle windowed program, by mapping: "kB name", largest first.
mapping_excess() {
    awk 'NR == FNR {idle[$2] = $1; next} {extra = $1 - idle[$2]; if (extra > 0) print extra, $2}' \
        "$1" "$2" | sort -rn | head -"$3"
}

now_ns() {
    date +%s%N
}

clock_ticks=$(getconf CLK_TCK)

# ---- a headless browser for the page's latency -------------------------------------------------
browser_args=()
start_browser "$run_dir"
if [ -n "$PAL4_BROWSER_PORT" ]; then
    browser_args=(--browser-port "$PAL4_BROWSER_PORT")
fi

# ---- resident memory of idle Wine programs of the same width ------------------------------------
# idle_rss MODE: VmRSS in kB of the probe idling in that mode, a few seconds after its start;
# its mappings go to $run_dir/idle-mappings-MODE.
idle_rss() {
    local launcher pid rss=""
    "$wine_exec" "$run_dir/latency_probe.exe" "$1" 60 >/dev/null 2>&1 &
    launcher=$!
    if pid=$(wait_for_pid latency_probe.exe); then
        sleep 3
        rss=$(rss_kb "$pid")
        largest_mappings "$pid" >"$run_dir/idle-mappings$1"
        kill "$pid" 2>/dev/null || true
    fi
    wait "$launcher" 2>/dev/null || true
    echo "$rss"
}
step "Resident memory of idle $bits-bit Wine programs (the probe, waiting)"
bare_rss=$(idle_rss --idle)
window_rss=$(idle_rss --idle-window)
note "sleeping only: ${bare_rss:-?} kB; with a window and its message loop: ${window_rss:-?} kB"

# ---- the measured session ---------------------------------------------------------------------
step "Running the tool beside the simulated game: $lines lines, ${cpu_seconds} s of polling" \
    "per text region, 2 x ${throughput_seconds} s of ten lines a second, $cycles open/close" \
    "cycles, then the web feeds (about $((3 + throughput_seconds / 30 + web_seconds / 30)) minutes)"
tool_pid=""
latency=""
latency_outline=""
declare -A cpu_ms_per_s=() cpu_fine=()
cpu_start_ticks=0
cpu_start_task_ns=0
cpu_start_ns=0
rss_open="" rss_warm="" rss_end=""
step_latency="" rss_backlog_begin="" rss_backlog_full="" rss_backlog_end="" backlog_bytes=""
backlog_series="" backlog_untaken=""
logged_lines="" killed_lines=""
web_latency="" page_latency="" web_clients="" abuse=""
flood_marks=()
log_file=$run_dir/对白记录.txt
finished=false
above="" follow="" hide="" lock_clicks=""
declare -A fs_cycles=() fs_scale=() fs_kill=()
# Reads the probe's marks from standard input, taking the tool's figures from /proc at each.
read_marks() {
while IFS= read -r line; do
    # The probe is a Windows program: its lines end in CR LF.
    read -r -a word <<<"${line%$'\r'}"
    [ "${word[0]:-}" = "@@" ] || continue
    set -- "${word[@]}" "" "" "" "" "" "" ""
    case "$2" in
    tool-started)
        tool_pid=$(wait_for_pid Pal4Subtitles.exe) || tool_pid=""
        note "tool started (Unix pid ${tool_pid:-not found})"
        ;;
    latency)
        latency="$3 $4 $5 $6 $7 $8 $9 ${10}"
        note "latency measured over $3 lines"
        ;;
    latency-outline)
        latency_outline="$3 $4 $5 $6 $7 $8 $9 ${10}"
        note "latency with the outline on measured over $3 lines"
        ;;
    cpu-begin)
        if [ -n "$tool_pid" ]; then
            cpu_start_ticks=$(cpu_ticks "$tool_pid")
            cpu_start_task_ns=$(cpu_ns "$tool_pid")
            cpu_start_ns=$(now_ns)
        fi
        ;;
    cpu-end)
        if [ -n "$tool_pid" ]; then
            ticks=$(($(cpu_ticks "$tool_pid") - cpu_start_ticks))
            task_ns=$(($(cpu_ns "$tool_pid") - cpu_start_task_ns))
            elapsed_ns=$(($(now_ns) - cpu_start_ns))
            cpu_fine[$3]=$(awk -v t="$task_ns" -v ns="$elapsed_ns" \
                'BEGIN {printf "%.2f", t / 1e6 / (ns / 1e9)}')
            cpu_ms_per_s[$3]=$(awk -v t="$ticks" -v hz="$clock_ticks" -v ns="$elapsed_ns" \
                'BEGIN {printf "%.2f", (t * 1000 / hz) / (ns / 1e9)}')
            case "$3" in
            lines-*) note "CPU with ten new lines a second, switch ${3#lines-}: ${cpu_ms_per_s[$3]} ms/s" ;;
            blank-*) note "CPU over a blanked line, ${3#blank-}: ${cpu_fine[$3]} ms/s" ;;
            idle-window*) note "CPU over the idle game's window ($3): ${cpu_fine[$3]} ms/s" ;;
            web-*) note "CPU with ten new lines a second, web server ${3#web-}: ${cpu_ms_per_s[$3]} ms/s" ;;
            fs-*) note "CPU over the idle game, ${3#fs-}: ${cpu_fine[$3]} ms/s" ;;
            *) note "CPU with a $3-byte text region: ${cpu_ms_per_s[$3]} ms/s" ;;
            esac
        fi
        ;;
    lines-on) logged_lines="$3 $4 $5" ;;
    web-latency) web_latency="$3 $4 $5 $6 $7" ;;
    page-latency) page_latency="$3 $4 $5 $6 $7" ;;
    web-clients) web_clients=$3 ;;
    abuse) abuse="$3 $4 $5 $6 $7" ;;
    flood) flood_marks+=("${*:3}") ;;
    kill-begin) cp "$log_file" "$run_dir/log-before-kill" 2>/dev/null || : >"$run_dir/log-before-kill" ;;
    killed) killed_lines="$3 $4" ;;
    memory-open)
        if [ -n "$tool_pid" ]; then
            rss_open=$(rss_kb "$tool_pid")
            largest_mappings "$tool_pid" >"$run_dir/tool-mappings"
        fi
        ;;
    step-latency) step_latency="$3 $4 $5 $6 $7 $8" ;;
    backlog-begin) [ -n "$tool_pid" ] && rss_backlog_begin=$(rss_kb "$tool_pid") ;;
    backlog-full)
        backlog_bytes=$3
        [ -n "$tool_pid" ] && rss_backlog_full=$(rss_kb "$tool_pid")
        ;;
    backlog-at) [ -n "$tool_pid" ] && backlog_series+=" $3:$(rss_kb "$tool_pid")" ;;
    backlog-end)
        backlog_untaken=$4
        [ -n "$tool_pid" ] && rss_backlog_end=$(rss_kb "$tool_pid")
        ;;
    cycles-warm) [ -n "$tool_pid" ] && rss_warm=$(rss_kb "$tool_pid") ;;
    cycles-end) [ -n "$tool_pid" ] && rss_end=$(rss_kb "$tool_pid") ;;
    above) above="$3 $4 $5 $6 $7 $8" ;;
    follow) follow="$3 $4 $5 $6 $7 $8" ;;
    hide) hide="$3 $4 $5 $6 $7 $8 $9 ${10} ${11} ${12}" ;;
    lock) lock_clicks="$3 $4 $5" ;;
    fs-cycles) fs_cycles[$3]="$4 $5 $6 $7 $8 $9 ${10} ${11} ${12} ${13} ${14} ${15}" ;;
    fs-scale) fs_scale[$3 $4]="$5 $6" ;;
    fs-kill) fs_kill[$3]=$4 ;;
    fs-picture)
        # The 16:9 screen's.
        if [ -n "${PAL4_BENCH_PICTURE:-}" ] && [ $((${3%x*} * 9)) -eq $((${3#*x} * 16)) ]; then
            import -display "$DISPLAY" -window root "$PAL4_BENCH_PICTURE" && note "picture saved to $PAL4_BENCH_PICTURE"
        fi
        ;;
    done) finished=true ;;
    esac
done
}
read_marks < <("$wine_exec" "$run_dir/latency_probe.exe" --run "$run_dir/Pal4Subtitles.exe" \
    "$game_exe" --lines "$lines" --cycles "$cycles" --cpu-seconds "$cpu_seconds" \
    --throughput-seconds "$throughput_seconds" --backlog-lines "$backlog_lines" --web-port "$web_port" --web-seconds "$web_seconds" \
    "${browser_args[@]}" 2>&1 |
    tee "$run_dir/probe.log")
$finished || note "the session did not run to its end; the probe said: $(grep -v '^@@' "$run_dir/probe.log" | tail -3)"

# ---- the tool over the game's window moving about -----------------------------------------------
# With PAL4_BENCH_BASELINE_EXE, another build of the tool (say, the last release) runs over the
# same idle game in the same run, for the CPU ratio.
step "The subtitle over the game's window: $window_times times to the front and moved, lock, CPU"
baseline_args=()
if [ -n "${PAL4_BENCH_BASELINE_EXE:-}" ] && [ -f "$PAL4_BENCH_BASELINE_EXE" ]; then
    mkdir -p "$run_dir/baseline"
    cp "$PAL4_BENCH_BASELINE_EXE" "$run_dir/baseline/Pal4Subtitles.exe"
    baseline_args=(--baseline "$run_dir/baseline/Pal4Subtitles.exe")
fi
finished=false
read_marks < <("$wine_exec" "$run_dir/latency_probe.exe" --window "$run_dir/Pal4Subtitles.exe" \
    "$game_exe" --times "$window_times" --cpu-seconds "$cpu_seconds" "${baseline_args[@]}" 2>&1 |
    tee "$run_dir/probe-window.log")
$finished || note "the window session did not run to its end; the probe said: $(grep -v '^@@' "$run_dir/probe-window.log" | tail -3)"

# ---- full screen, on a 4:3 and a 16:9 screen ----------------------------------------------------
# Wine takes the screen's size when its server starts: each screen gets a server and an Xvfb of
# its own; the run's own display comes back afterwards. A display that was given is used as it is.
fullscreen_session() {
    finished=false
    read_marks < <("$wine_exec" "$run_dir/latency_probe.exe" --fullscreen "$run_dir/Pal4Subtitles.exe" \
        "$game_exe" --cycles "$fullscreen_cycles" --cpu-seconds "$cpu_seconds" --picture 1 2>&1 |
        tee "$run_dir/probe-fullscreen.log")
    $finished || note "the full screen session did not run to its end; the probe said: $(grep -v '^@@' "$run_dir/probe-fullscreen.log" | tail -3)"
}
if [ -n "$PAL4_XVFB_PID" ]; then
    main_display=$DISPLAY
    main_xvfb_pid=$PAL4_XVFB_PID
    for screen in $fullscreen_screens; do
        step "Full screen on a $screen screen: $fullscreen_cycles times on and off, three scales, a kill, CPU"
        timeout 20 /usr/bin/wineserver -k 2>/dev/null || true
        PAL4_XVFB_PID=""
        unset DISPLAY
        PAL4_SCREEN_SIZE=$screen ensure_display && fullscreen_session
        timeout 20 /usr/bin/wineserver -k 2>/dev/null || true
        stop_private_display
    done
    export DISPLAY=$main_display
    PAL4_XVFB_PID=$main_xvfb_pid
    main_xvfb_pid=""
else
    step "Full screen on $DISPLAY as it is: $fullscreen_cycles times on and off, three scales, a kill, CPU"
    fullscreen_session
fi

# ---- the outline's legibility and cost, from the label's own drawing ----------------------------
# Built beside the exe being measured, from the same sources, when that build tree has it.
figures_exe=$(dirname "$exe")/../bench/win32/outline_figures.exe
figures_tree=$(dirname "$(dirname "$exe")")
outline_figures=""
if [ -f "$figures_tree/build.ninja" ]; then
    cmake --build "$figures_tree" -j "$PAL4_JOBS" --target outline_figures >/dev/null 2>&1 || true
fi
if [ -f "$figures_exe" ]; then
    outline_figures=$("$wine_exec" "$figures_exe" 2>&1 | tr -d '\r') || true
fi

# ---- the stripped exe -------------------------------------------------------------------------
"$arch-w64-mingw32-strip" -o "$run_dir/stripped.exe" "$exe"
stripped_bytes=$(stat -c %s "$run_dir/stripped.exe")

# ---- the figures ------------------------------------------------------------------------------
measured=0
# verdict VALUE GOAL: "met" when VALUE <= GOAL.
verdict() {
    awk -v v="$1" -v g="$2" 'BEGIN {print (v <= g) ? "met" : "missed"}'
}
# cpu_ratio ON OFF: the fine CPU figure of phase ON over that of phase OFF, to two places.
cpu_ratio() {
    awk -v on="${cpu_fine[$1]}" -v off="${cpu_fine[$2]}" \
        'BEGIN {printf "%.2f", (off > 0) ? on / off : 0}'
}
figure() { # label, value text, goal text, verdict
    printf '  %-52s %-16s goal %-16s %s\n' "$1" "$2" "$3" "$4"
}

step "Figures for $exe ($bits-bit)"
note "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')," \
    "kernel $(uname -r), $("$wine_exec" --version 2>/dev/null || echo 'Wine ?'), load $(cut -d' ' -f1-3 /proc/loadavg)"
# No line on the screen means the overlay never opened: whatever the probe read of CPU and
# memory then describes a tool that was not polling, and says nothing about the goals.
if [ -z "$latency" ] || [ "${latency%% *}" -eq 0 ]; then
    note "no dialogue line reached the screen: the figures below would be of a tool that did not poll"
    latency=""
    latency_outline=""
    cpu_ms_per_s=()
    rss_open=""
    rss_warm=""
    rss_end=""
    rss_backlog_begin=""
fi
if [ -n "$latency" ]; then
    read -r count missed fastest median p95 slowest sample_ms clock <<<"$latency"
    measured=1
    figure "latency, line written to pixels: median" "$median ms" "-" ""
    note "fastest $fastest ms, slowest $slowest ms"
    figure "latency, 95th percentile ($count lines)" "$p95 ms" "<= 120 ms" "$(verdict "$p95" 120)"
    note "one screen sample took $sample_ms ms on average; $missed lines never showed;" \
        "game and probe clocks: $clock"
else
    figure "latency" "not measured" "<= 120 ms" ""
fi
if [ -n "$latency_outline" ]; then
    read -r count _ _ median p95 _ _ _ <<<"$latency_outline"
    figure "latency with the outline on: median" "$median ms" "-" ""
    figure "latency with the outline on, 95th percentile ($count lines)" "$p95 ms" "<= 120 ms" \
        "$(verdict "$p95" 120)"
fi
for region in 65536 16777216; do
    if [ "$region" -ge 1048576 ]; then
        size="$((region / 1048576)) MiB"
    else
        size="$((region / 1024)) KiB"
    fi
    label="CPU per second polling an unchanged line, $size text"
    if [ -n "${cpu_ms_per_s[$region]:-}" ]; then
        measured=1
        figure "$label" "${cpu_ms_per_s[$region]} ms/s" "<= 2 ms/s" \
            "$(verdict "${cpu_ms_per_s[$region]}" 2)"
    else
        figure "$label" "not measured" "<= 2 ms/s" ""
    fi
done
if [ -n "${cpu_ms_per_s[65536]:-}" ]; then
    note "from /proc/<pid>/stat, in $((1000 / clock_ticks)) ms ticks: ±$(awk -v hz="$clock_ticks" \
        -v s="$cpu_seconds" 'BEGIN {printf "%.1f", 1000 / hz / s}') ms/s over ${cpu_seconds} s;" \
        "the scheduler's ns count: ${cpu_fine[65536]:-?} and ${cpu_fine[16777216]:-?} ms/s"
fi
if [ -n "${cpu_fine[blank-plain]:-}" ] && [ -n "${cpu_fine[blank-outline]:-}" ]; then
    measured=1
    ratio=$(cpu_ratio blank-outline blank-plain)
    # Nothing changes on screen: an outlined label painted again each tick would cost far more.
    figure "CPU over a blanked line, outline on / off" "$ratio" "<= 1.25" "$(verdict "$ratio" 1.25)"
    note "on ${cpu_fine[blank-outline]} ms/s, off ${cpu_fine[blank-plain]} ms/s (scheduler's ns count)"
fi
# The game's window: above, following, hiding, the lock, and the CPU over it.
if [ -n "$above" ]; then
    measured=1
    read -r count missed median p95 slowest buried <<<"$above"
    figure "above the game again after it came to the front, p95" "$p95 ms" "<= 300 ms" \
        "$(verdict "$p95" 300)"
    note "$count of $((count + missed)) back (median $median ms, slowest $slowest ms); the text was" \
        "gone at the first look $buried times (clicks into the game, its own calls to the top)"
fi
if [ -n "$follow" ]; then
    read -r count missed median p95 slowest exact <<<"$follow"
    figure "at the moved game's new place, p95" "$p95 ms" "<= 250 ms" "$(verdict "$p95" 250)"
    note "$count of $((count + missed)) moves followed (median $median ms); $exact places exact"
fi
if [ -n "$hide" ]; then
    read -r count missed _ gone_p95 _ _ _ _ back_p95 _ <<<"$hide"
    figure "hidden with the minimised game / text back, p95" "$gone_p95 / $back_p95 ms" \
        "<= 300 ms" "$( awk -v a="$gone_p95" -v b="$back_p95" 'BEGIN {print (a <= 300 && b <= 300) ? "met" : "missed"}')"
    note "$count minimise and restore rounds; $missed times not within 2 s"
fi
if [ -n "$lock_clicks" ]; then
    read -r locked unlocked clicks <<<"$lock_clicks"
    figure "clicks on the text reaching the game, locked / unlocked" "$locked / $unlocked of $clicks" \
        "$clicks / 0" "$( [ "$locked" = "$clicks" ] && [ "$unlocked" = 0 ] && echo met || echo missed)"
fi
if [ -n "${cpu_fine[idle-window]:-}" ] && [ -n "${cpu_fine[idle-window-baseline]:-}" ]; then
    # This build's two figures around the baseline's, averaged, against it.
    ratio=$(awk -v a="${cpu_fine[idle-window]}" -v b="${cpu_fine[idle-window-again]:-${cpu_fine[idle-window]}}" \
        -v then="${cpu_fine[idle-window-baseline]}" 'BEGIN {printf "%.2f", (then > 0) ? (a + b) / 2 / then : 0}')
    figure "CPU over the idle game's window, this build / baseline" "$ratio" "<= 1.1" \
        "$(verdict "$ratio" 1.1)"
    note "this build ${cpu_fine[idle-window]} and ${cpu_fine[idle-window-again]:-?} ms/s, the baseline" \
        "between them ${cpu_fine[idle-window-baseline]} ms/s (scheduler's ns count)"
elif [ -n "${cpu_fine[idle-window]:-}" ]; then
    note "CPU over the idle game's window: ${cpu_fine[idle-window]} ms/s (no baseline build given)"
fi
# Full screen, screen by screen.
for screen in $(printf '%s\n' "${!fs_cycles[@]}" "${!fs_kill[@]}" | sort -u); do
    if [ -n "${fs_cycles[$screen]:-}" ]; then
        measured=1
        read -r count missed on_median on_p95 _ _ _ off_median off_p95 _ exact ordered <<<"${fs_cycles[$screen]}"
        figure "full screen on / off, p95 ($screen)" "$on_p95 / $off_p95 ms" "<= 300 ms" \
            "$(awk -v a="$on_p95" -v b="$off_p95" 'BEGIN {print (a <= 300 && b <= 300) ? "met" : "missed"}')"
        figure "  the window back bit for bit after each cycle" "$exact of $fullscreen_cycles" \
            "all" "$( [ "$exact" = "$fullscreen_cycles" ] && echo met || echo missed)"
        note "medians $on_median / $off_median ms; $missed of $((2 * fullscreen_cycles)) changes not within 3 s;" \
            "the black window directly below the picture in Win32's z-order $ordered of $fullscreen_cycles times"
    fi
    for scale in fit stretch none; do
        read -r distance back <<<"${fs_scale[$screen $scale]:-? no}"
        figure "  subtitle off its scaled place, $scale; back" "$distance px, $back" "<= 1 px, yes" \
            "$( [ "$back" = yes ] && [ "$distance" != "?" ] && [ "$distance" -ge 0 ] && [ "$distance" -le 1 ] && echo met || echo missed)"
    done
    if [ -n "${fs_kill[$screen]:-}" ]; then
        figure "  killed at full screen: window back at the next start" "${fs_kill[$screen]} ms" \
            "<= 1000 ms" "$( [ "${fs_kill[$screen]}" -ge 0 ] && verdict "${fs_kill[$screen]}" 1000 || echo missed)"
    fi
    if [ -n "${cpu_fine[fs-full-$screen]:-}" ] && [ -n "${cpu_fine[fs-windowed-$screen]:-}" ]; then
        ratio=$(cpu_ratio "fs-full-$screen" "fs-windowed-$screen")
        figure "  CPU over the idle game, full screen / windowed" "$ratio" "<= 1.1" "$(verdict "$ratio" 1.1)"
        note "full screen ${cpu_fine[fs-full-$screen]} ms/s, windowed ${cpu_fine[fs-windowed-$screen]} ms/s (scheduler's ns count)"
    fi
done
# The numbers N of the log's lines "YYYY-MM-DD HH:MM:SS 甲：第N句" (CR LF), one a line; a line
# of another shape prints "bad".
logged_numbers() {
    sed '1s/^\xEF\xBB\xBF//' "$1" | LC_ALL=C awk '{
        stamp = "^[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9] "
        if ($0 ~ (stamp "甲：第[0-9]+句\r$")) {
            number = substr($0, 21)
            gsub(/[^0-9]/, "", number)
            print number + 0
        } else {
            print "bad"
        }
    }'
}
# "missing doubled bad" of the numbers in file $1 against FIRST..LAST.
line_account() {
    local numbers
    numbers=$(logged_numbers "$1")
    printf '%s %s %s\n' \
        "$(comm -23 <(seq "$2" "$3") <(grep -v bad <<<"$numbers" | sort -u) | wc -l)" \
        "$(grep -v bad <<<"$numbers" | sort | uniq -d | wc -l)" "$(grep -c bad <<<"$numbers" || true)"
}
if [ -n "${cpu_ms_per_s[lines-off]:-}" ] && [ -n "${cpu_ms_per_s[lines-on]:-}" ]; then
    measured=1
    ratio=$(cpu_ratio lines-on lines-off)
    figure "CPU of 10 lines/s, switch 记录对白 on / off" "$ratio" "<= 1.25" \
        "$(verdict "$ratio" 1.25)"
    note "on ${cpu_fine[lines-on]} ms/s, off ${cpu_fine[lines-off]} ms/s (scheduler's ns count);" \
        "by ticks ${cpu_ms_per_s[lines-on]} and ${cpu_ms_per_s[lines-off]} ms/s"
else
    figure "CPU of 10 lines/s, switch 记录对白 on / off" "not measured" "<= 1.25" ""
fi
if [ -n "$logged_lines" ] && [ -f "$run_dir/log-before-kill" ]; then
    read -r first last untaken <<<"$logged_lines"
    read -r missing doubled bad <<<"$(line_account "$run_dir/log-before-kill" "$first" "$last")"
    figure "story log of $((last - first + 1)) lines: missing / doubled" "$missing / $doubled" \
        "0 / 0" "$( [ "$missing$doubled$bad" = 000 ] && echo met || echo missed)"
    note "$bad lines of another shape; $untaken lines the tool's poll did not take within a second"
else
    figure "story log: missing / doubled lines" "not measured" "0 / 0" ""
fi
if [ -n "$killed_lines" ] && [ -f "$log_file" ]; then
    read -r first last <<<"$killed_lines"
    before=$(stat -c %s "$run_dir/log-before-kill")
    kept=$(cmp -s -n "$before" "$run_dir/log-before-kill" "$log_file" && echo yes || echo no)
    tail -c +"$((before + 1))" "$log_file" >"$run_dir/log-after-kill"
    # A last line cut by the kill has no CR LF; every other line must be whole.
    cut_last=no
    if [ -s "$run_dir/log-after-kill" ] && [ "$(tail -c 2 "$run_dir/log-after-kill" | od -An -c | tr -d ' ')" != '\r\n' ]; then
        cut_last=yes
        head -n -1 "$run_dir/log-after-kill" >"$run_dir/log-whole-after-kill"
    else
        cp "$run_dir/log-after-kill" "$run_dir/log-whole-after-kill"
    fi
    whole=$(wc -l <"$run_dir/log-whole-after-kill")
    read -r missing doubled bad <<<"$(line_account "$run_dir/log-whole-after-kill" "$first" \
        "$((first + whole - 1))")"
    figure "log of a tool killed while writing: earlier lines kept, whole" \
        "$kept, $((missing + doubled + bad)) bad" "yes, 0 bad" \
        "$( [ "$kept" = yes ] && [ "$((missing + doubled + bad))" = 0 ] && echo met || echo missed)"
    note "$whole whole lines after the kill began (lines $first to $last were played, the last" \
        "one as the tool was killed); last line cut: $cut_last"
else
    figure "log of a tool killed while writing" "not measured" "earlier lines kept" ""
fi
megabytes() {
    awk -v kb="$1" 'BEGIN {printf "%.1f MB", kb / 1024}'
}
if [ -n "$rss_open" ] && [ -n "$window_rss" ]; then
    measured=1
    above=$((rss_open - window_rss))
    # Beside a windowed program: both carry Wine's display driver, its X connection and fonts.
    figure "resident memory above an idle windowed program" "$(megabytes "$above")" "<= 8 MB" \
        "$(verdict "$above" 8192)"
    note "tool ${rss_open} kB with the overlay open; idle $bits-bit programs: ${window_rss} kB" \
        "with a window, ${bare_rss:-?} kB sleeping only ($(megabytes $((rss_open - ${bare_rss:-0}))) above that)"
    note "where the tool holds more than the idle windowed program (kB, by mapping):"
    while read -r kb name; do
        note "  $kb $name"
    done < <(mapping_excess "$run_dir/idle-mappings--idle-window" "$run_dir/tool-mappings" 8)
else
    figure "resident memory above an idle windowed program" "not measured" "<= 8 MB" ""
fi
if [ -n "$rss_warm" ] && [ -n "$rss_end" ]; then
    measured=1
    growth=$((rss_end - rss_warm))
    # A page or two comes and goes with the heap's own bookkeeping; a leak grows with the count.
    figure "growth over $cycles overlay open/close cycles" "$growth kB" "none (<= 64 kB)" \
        "$(verdict "$growth" 64)"
    note "${rss_open} kB before, ${rss_warm} kB after 10 warm-up cycles, ${rss_end} kB after $cycles more"
else
    figure "growth over $cycles overlay open/close cycles" "not measured" "none" ""
fi
if [ -n "$step_latency" ]; then
    read -r count missed fastest median p95 slowest <<<"$step_latency"
    figure "step back, hot key to the earlier line's pixels: median" "$median ms" "-" ""
    figure "the same, 95th percentile ($count steps)" "$p95 ms" "<= 100 ms" "$(verdict "$p95" 100)"
    note "fastest $fastest ms, slowest $slowest ms; $missed steps never showed"
else
    figure "step back, hot key to pixels" "not measured" "<= 100 ms" ""
fi
if [ -n "$rss_backlog_begin" ] && [ -n "$rss_backlog_full" ] && [ -n "$rss_backlog_end" ]; then
    # Past 100 lines each new one drops the oldest: what the 100 hold is all there is. The heap
    # settles over the first turnover, so the growth counts from the next mark (200 lines).
    settled=${backlog_series# }
    settled_at=${settled%%:*}
    settled_kb=${settled%% *}
    settled_kb=${settled_kb#*:}
    if [ -z "$settled" ]; then
        settled_at=100 settled_kb=$rss_backlog_full
    fi
    growth=$((rss_backlog_end - settled_kb))
    figure "growth from $settled_at to $backlog_lines long lines kept" "$growth kB" \
        "none (<= 64 kB)" "$(verdict "$growth" 64)"
    note "lines of $backlog_bytes bytes, each kept cut to 4096, $backlog_untaken not taken within 3 s;" \
        "${rss_backlog_begin} kB before," \
        "${rss_backlog_full} kB at 100 lines, ${rss_backlog_end} kB after $backlog_lines;" \
        "lines:kB between:${backlog_series:- none}"
else
    figure "backlog over the longest lines" "not measured" "none" ""
fi
# A web feed's latency: its marks ("count missed median p95 slowest"), what it is, the bound.
web_latency_figures() {
    local marks=$1 what=$2 bound=$3 missed_note=$4 count missed median p95 slowest
    if [ -z "$marks" ]; then
        figure "$what" "not measured" "<= $bound ms" ""
        return
    fi
    read -r count missed median p95 slowest <<<"$marks"
    figure "$what: median" "$median ms" "-" ""
    figure "the same, 95th percentile ($count lines)" "$p95 ms" "<= $bound ms" \
        "$(verdict "$p95" "$bound")"
    note "slowest $slowest ms; $missed lines $missed_note"
}
web_latency_figures "$web_latency" "line written to a plain WebSocket client" 150 "never arrived"
web_latency_figures "$page_latency" "line written to the page's text in Chromium" 250 \
    "never showed (the page's own Date.now() of the change)"
if [ -n "${cpu_fine[web-off]:-}" ] && [ -n "${cpu_fine[web-on]:-}" ]; then
    measured=1
    ratio=$(cpu_ratio web-on web-off)
    figure "CPU of 10 lines/s, 16 web clients / server off" "$ratio" "<= 1.25" \
        "$(verdict "$ratio" 1.25)"
    note "on ${cpu_fine[web-on]} ms/s, off ${cpu_fine[web-off]} ms/s over ${web_seconds} s each" \
        "(scheduler's ns count); ${web_clients:-?} of 16 clients still connected at the end"
else
    figure "CPU of 10 lines/s, 16 web clients / server off" "not measured" "<= 1.25" ""
fi
# One, then four flooders of each kind: the subtitle's latency meanwhile, and how soon each ended.
for marks in "${flood_marks[@]}"; do
    read -r count measured missed median p95 slowest ended slowest_end loops received <<<"$marks"
    figure "subtitle latency, $count flooder(s) of each kind: p95" "$p95 ms" "<= 150 ms" \
        "$(verdict "$p95" 150)"
    note "median $median ms, slowest $slowest ms; $missed of $((measured + missed)) lines never" \
        "showed; a study tool connected meanwhile got $received of them"
    figure "flooders ended by the tool: the slowest after" "$slowest_end ms" "<= 1000 ms" \
        "$(verdict "$slowest_end" 1000)"
    note "$ended flooding connections ended (one still flooding at the stop counts by its age)"
    note "$loops connections opened and closed at once meanwhile"
done
[ ${#flood_marks[@]} -gt 0 ] || figure "the subtitle during web floods" "not measured" "<= 150 ms" ""
if [ -n "$abuse" ]; then
    read -r bad ended taken played served <<<"$abuse"
    figure "$bad bad clients: ended by the tool, next good client served" "$ended, $served" \
        "$bad, yes" "$( [ "$ended" = "$bad" ] && [ "$served" = yes ] && echo met || echo missed)"
    note "meanwhile the subtitle took $taken of $played new lines within a second"
else
    figure "bad web clients" "not measured" "all ended, next served" ""
fi
figure "stripped exe" "$stripped_bytes bytes" "<= 1572864" "$(verdict "$stripped_bytes" 1572864)"
if [ -n "$outline_figures" ]; then
    note "the outline, measured on the label's own drawing (white and black text and scenes):"
    printf '%s\n' "$outline_figures"
else
    note "the outline's figures: no outline_figures.exe beside $exe"
fi

if [ "$measured" = 0 ]; then
    echo "error: the session beside the simulated game measured nothing" >&2
    exit 1
fi
exit 0
