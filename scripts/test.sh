#!/usr/bin/env bash
# Builds everything and runs every test: the portable code natively (with sanitizers); the
# 32-bit product's tests and the end-to-end suite under 32-bit Wine wherever the kernel runs
# 32-bit programs, else the same on the 64-bit twin (the summary says which); the layer check;
# the release package; the fuzz targets; and the benchmarks, for information only.
# Installs what is missing first. Exits non-zero when anything fails and ends with the line
# "N passed, M failed", counting test suites (one test exe, one fuzz target, one build, one
# end-to-end scenario).
#
# Settings: PAL4_BUILD_DIR (default build), PAL4_FUZZ_SECONDS (default 15),
# PAL4_JOBS (default 2), WINEPREFIX (default build/wineprefix).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
source "$PAL4_ROOT/scripts/lib/xvfb.sh"
cd "$PAL4_ROOT"

build_root=$(realpath -m "${PAL4_BUILD_DIR:-build}")
fuzz_seconds=${PAL4_FUZZ_SECONDS:-15}
export WINEPREFIX=${WINEPREFIX:-$PAL4_ROOT/build/wineprefix}
started_at=$(date +%s)

passed=0
failed=0
failures=()
wine_used=false

pass() {
    passed=$((passed + $1))
}
fail() {
    failed=$((failed + 1))
    failures+=("$1")
    note "FAILED: $1"
}

finish() {
    if $wine_used; then
        # Let this prefix's wineserver end by itself; end it only if a stray process holds it.
        if ! timeout 30 /usr/bin/wineserver -w 2>/dev/null; then
            /usr/bin/wineserver -k 2>/dev/null || true
        fi
    fi
    stop_private_display
}
trap finish EXIT

# build <preset> <dir> [target]: configure when needed, then build everything, or only the
# target; false when either fails.
build() {
    local preset=$1 dir=$2 target=${3:-all}
    step "Building preset $preset in $dir${3:+ (only $3)}"
    if [ ! -f "$dir/build.ninja" ]; then
        cmake --preset "$preset" -B "$dir" >"$dir.configure.log" 2>&1 ||
            { tail -40 "$dir.configure.log"; return 1; }
    fi
    local began=$SECONDS status=0
    cmake --build "$dir" -j "$PAL4_JOBS" --target "$target" || status=$?
    note "build of $preset took $((SECONDS - began)) s"
    return "$status"
}

# run_ctest <name> <dir>: runs the build's tests and counts each test exe as one suite.
run_ctest() {
    local name=$1 dir=$2 log=$2/ctest.log
    step "Running the $name tests"
    local status=0 began=$SECONDS
    ctest --test-dir "$dir" --output-on-failure -j "$PAL4_JOBS" 2>&1 | tee "$log" ||
        status=$?
    note "the $name tests took $((SECONDS - began)) s"
    local summary
    summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" |
        tail -1 || true)
    if [ -z "$summary" ]; then
        if grep -q 'No tests were found' "$log"; then
            note "no tests in $dir"
            return 0
        fi
        fail "$name tests (ctest ended with status $status and no summary)"
        return 0
    fi
    local failed_here total
    failed_here=$(sed -E 's/.*, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
    total=$(sed -E 's/.*failed out of ([0-9]+).*/\1/' <<<"$summary")
    pass $((total - failed_here))
    local test_name named=0
    while read -r test_name; do
        if [ -n "$test_name" ]; then
            fail "$name: $test_name"
            named=$((named + 1))
        fi
    done < <(sed -n '/The following tests FAILED/,$p' "$log" | grep -E '^\s+[0-9]+ - ' |
        sed -E 's/^\s+[0-9]+ - ([^ ]+).*/\1/')
    while [ "$named" -lt "$failed_here" ]; do
        fail "$name: a test ctest did not name"
        named=$((named + 1))
    done
}

# run_e2e <exe>: the end-to-end suite against the exe; each scenario counts as one suite.
run_e2e() {
    local exe=$1 log=$build_root/e2e.log
    step "Running the end-to-end suite against $exe"
    local status=0 began=$SECONDS
    PAL4_BUILD_DIR=$build_root bash "$PAL4_ROOT/scripts/e2e.sh" "$exe" 2>&1 | tee "$log" ||
        status=$?
    note "the end-to-end suite took $((SECONDS - began)) s"
    local summary
    summary=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$log" | tail -1 || true)
    if [ -z "$summary" ]; then
        fail "end-to-end suite (ended with status $status and no summary)"
        return 0
    fi
    pass "${summary%% passed*}"
    local scenario named=0 failed_here
    failed_here=$(sed -E 's/.* ([0-9]+) failed$/\1/' <<<"$summary")
    while read -r scenario; do
        [ -n "$scenario" ] || continue
        fail "end-to-end: $scenario"
        named=$((named + 1))
    done < <(grep -E '^FAIL ' "$log" | sed -E 's/^FAIL ([^:]+).*/\1/')
    while [ "$named" -lt "$failed_here" ]; do
        fail "end-to-end: a scenario the suite did not name"
        named=$((named + 1))
    done
    if [ "$status" -ne 0 ] && [ "$failed_here" -eq 0 ]; then
        fail "end-to-end suite (exit status $status)"
    fi
}

step "Installing missing packages"
bash "$PAL4_ROOT/scripts/install-deps.sh"
mkdir -p "$build_root"

# 1. Portable code, natively, with AddressSanitizer and UBSan.
if build linux "$build_root/linux"; then
    pass 1
    run_ctest linux "$build_root/linux"
else
    fail "build linux"
fi

# 2. The product, 32-bit like the game, and its 64-bit twin: both exes are always built, so the
# code stays correct for both widths; the tests and the end-to-end suite run on the 32-bit build
# wherever Wine can run it, else on the twin, and only that width builds them.
skipped_32bit=$(why_no_32bit)
if [ -z "$skipped_32bit" ]; then
    tested_preset=windows
    tested_label="windows (i686, 32-bit Wine)"
    only_32bit='' only_twin=Pal4Subtitles
else
    tested_preset=windows-x64
    tested_label="windows-x64 (64-bit Wine)"
    only_32bit=Pal4Subtitles only_twin=''
fi
windows_ok=false
if build windows "$build_root/windows" ${only_32bit:+"$only_32bit"}; then
    pass 1
    windows_ok=true
    # The release zip: packed from this build, checked, and the checks shown to catch damage.
    step "Packing and checking the release zip"
    if PAL4_BUILD_DIR=$build_root bash "$PAL4_ROOT/scripts/package.sh" &&
        bash "$PAL4_ROOT/scripts/check-package.sh" --self-test \
            "$build_root/Pal4Subtitles-$(cat "$build_root/windows/pal4_version.txt")-win32.zip"; then
        pass 1
    else
        fail "release package"
    fi
else
    fail "build windows (i686)"
fi
twin_ok=false
if build windows-x64 "$build_root/windows-x64" ${only_twin:+"$only_twin"}; then
    pass 1
    twin_ok=true
else
    fail "build windows-x64"
fi

if [ "$tested_preset" = windows ]; then
    tested_ok=$windows_ok
else
    tested_ok=$twin_ok
fi
tested_exe=$build_root/$tested_preset/src/Pal4Subtitles.exe

# 3. The Windows tests and the end-to-end suite under Wine, on a display.
if $tested_ok; then
    bash "$PAL4_ROOT/scripts/wine-prefix.sh"
    wine_used=true
    step "Making sure there is a display for Wine's windows"
    ensure_display
    run_ctest "$tested_label" "$build_root/$tested_preset"
    if [ -f "$PAL4_ROOT/scripts/e2e.sh" ]; then
        run_e2e "$tested_exe"
    fi
fi

# 4. Fuzz targets, where clang's libFuzzer runtime is installed.
if compgen -G '/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' >/dev/null; then
    if build fuzz "$build_root/fuzz"; then
        pass 1
        mkdir -p "$build_root/fuzz/artifacts"
        while read -r target; do
            name=$(basename "$target")
            step "Fuzzing $name for ${fuzz_seconds} s"
            work=$build_root/fuzz/corpus-${name#fuzz_}
            mkdir -p "$work"
            seeds=()
            if [ -d "tests/fuzz/${name#fuzz_}/corpus" ]; then
                seeds=("tests/fuzz/${name#fuzz_}/corpus")
            fi
            if "$target" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
                -artifact_prefix="$build_root/fuzz/artifacts/$name-" \
                "$work" "${seeds[@]}" >"$build_root/fuzz/$name.log" 2>&1; then
                note "$(grep -E '^Done [0-9]+ runs' "$build_root/fuzz/$name.log" || echo "done")"
                pass 1
            else
                tail -40 "$build_root/fuzz/$name.log"
                fail "$name"
            fi
        done < <(find "$build_root/fuzz" -maxdepth 4 -type f -name 'fuzz_*' -perm -u+x | sort)
    else
        fail "build fuzz"
    fi
else
    step "Skipping the fuzz targets: clang's libFuzzer runtime is not installed"
fi

# 5. Benchmarks, for information only: their figures are printed, never judged.
benchmarks=$(find "$build_root/linux" -maxdepth 4 -type f -name 'bench_*' -perm -u+x 2>/dev/null |
    sort || true)
for bench in $benchmarks; do
    step "Benchmark $(basename "$bench") (information only; sanitizer build)"
    timeout 120 "$bench" --benchmark_min_time=0.05 2>&1 || note "benchmark ended with an error"
done

if [ -f "$PAL4_ROOT/scripts/bench.sh" ] && $tested_ok; then
    step "Measuring the Windows exe (information only; scripts/bench.sh)"
    # Shorter than bench.sh's own defaults (40 lines, 60 s a story-log phase, 150 cycles, 10 s a
    # CPU phase, 30 s a web phase, 30 raises and moves of the game's window, 1000 long lines for
    # the backlog, 30 full screen cycles on a 4:3 and a 16:9 screen), to keep the test command
    # short; the README's figures come from bench.sh run alone.
    PAL4_BUILD_DIR=$build_root PAL4_BENCH_THROUGHPUT_SECONDS=${PAL4_BENCH_THROUGHPUT_SECONDS:-10} \
        PAL4_BENCH_CYCLES=${PAL4_BENCH_CYCLES:-40} PAL4_BENCH_CPU_SECONDS=${PAL4_BENCH_CPU_SECONDS:-5} \
        PAL4_BENCH_WEB_SECONDS=${PAL4_BENCH_WEB_SECONDS:-5} PAL4_BENCH_LINES=${PAL4_BENCH_LINES:-20} \
        PAL4_BENCH_WINDOW_TIMES=${PAL4_BENCH_WINDOW_TIMES:-10} \
        PAL4_BENCH_BACKLOG_LINES=${PAL4_BENCH_BACKLOG_LINES:-150} \
        PAL4_BENCH_FULLSCREEN_CYCLES=${PAL4_BENCH_FULLSCREEN_CYCLES:-5} \
        PAL4_BENCH_FULLSCREEN_SCREENS=${PAL4_BENCH_FULLSCREEN_SCREENS:-1920x1080} \
        timeout 600 bash "$PAL4_ROOT/scripts/bench.sh" "$tested_exe" ||
        note "the benchmark ended with an error"
fi

step "Summary ($(($(date +%s) - started_at)) s)"
for failure in "${failures[@]+"${failures[@]}"}"; do
    note "failed: $failure"
done
if [ -n "$skipped_32bit" ]; then
    note "32-bit tests skipped: $skipped_32bit; the Windows tests and the end-to-end suite ran on the 64-bit twin"
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
