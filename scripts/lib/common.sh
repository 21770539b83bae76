# Shared helpers of the project's scripts; sourced, never run on its own.

# The repository's root, whichever script sourced this file.
PAL4_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export PAL4_ROOT

# Every step of a script says what it is doing before it does it.
step() {
    printf '\n==> %s\n' "$*"
}

note() {
    printf '    %s\n' "$*"
}

# Runs a command as root: directly when we are root (CI, containers), else through sudo.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "error: '$*' needs root and sudo is not installed" >&2
        return 1
    fi
}

# Build parallelism: the machines this runs on are small and shared, two jobs at most.
PAL4_JOBS=${PAL4_JOBS:-2}
export PAL4_JOBS

# True where the kernel runs 32-bit programs (many CI kernels do not): only there can wine32
# run the 32-bit build. The probe is the smallest i386 ELF program: exit(0) through int 0x80.
# PAL4_FAKE_KERNEL_32BIT (yes or no), for trying the scripts as on the other kind of kernel,
# stands in for the probe's answer.
kernel_runs_32bit() {
    if [ -n "${PAL4_FAKE_KERNEL_32BIT:-}" ]; then
        [ "$PAL4_FAKE_KERNEL_32BIT" = yes ]
        return
    fi
    local probe
    probe=$(mktemp)
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$probe"
    printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' >>"$probe"
    printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' >>"$probe"
    printf '\x00\x00\x00\x00' >>"$probe"
    printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' >>"$probe"
    printf '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' >>"$probe"
    printf '\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >>"$probe"
    chmod +x "$probe"
    local status=0
    "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    [ "$status" -eq 0 ]
}

# wine32's loader: only where it is installed can Wine start a 32-bit exe.
PAL4_WINE32_LOADER=/usr/lib/wine/wine

# Where scripts/install-deps.sh leaves apt's reason, in one line, when wine32 could not be
# installed (a mirror in the middle of a sync, say); it removes the file on each run.
PAL4_WINE32_FAILURE=$PAL4_ROOT/build/wine32-not-installed.txt

# True where the 32-bit product can run under Wine here: the kernel runs 32-bit programs and
# wine32 is installed (scripts/install-deps.sh adds it wherever the kernel allows).
wine_runs_32bit() {
    kernel_runs_32bit && [ -x "$PAL4_WINE32_LOADER" ]
}

# One plain sentence saying why the 32-bit product cannot run here; empty where it can.
# PAL4_FAKE_NO_32BIT, for trying the scripts' refusals on a machine that does run 32-bit
# programs, stands in for the answer.
why_no_32bit() {
    if [ -n "${PAL4_FAKE_NO_32BIT:-}" ]; then
        echo "$PAL4_FAKE_NO_32BIT"
    elif ! kernel_runs_32bit; then
        echo "this kernel cannot run 32-bit programs (booted without IA-32 emulation)"
    elif [ -x "$PAL4_WINE32_LOADER" ]; then
        return 0
    elif [ -s "$PAL4_WINE32_FAILURE" ]; then
        echo "32-bit Wine (wine32:i386) could not be installed: $(head -n 1 "$PAL4_WINE32_FAILURE")"
    else
        echo "32-bit Wine (wine32:i386) is not installed"
    fi
}

# The PE machine field of a Windows exe as od prints it: 014c for i386, 8664 for x86-64; empty
# when the file is missing or too short to be one.
pe_machine() {
    [ -f "$1" ] || return 0
    local header_offset
    header_offset=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ') || return 0
    [ -n "$header_offset" ] || return 0
    od -An -t x2 -j $((header_offset + 4)) -N 2 "$1" 2>/dev/null | tr -d ' ' || true
}

# Ends the script with status 2 when EXE is 32-bit and 32-bit programs cannot run here, where
# Wine would only say "Application could not be started": one line with the reason and the path
# of the 64-bit twin under BUILD_ROOT, the build folder in use. Called before the script starts
# anything (a display, a Wine prefix), so there is nothing to clean up.
stop_if_32bit_cannot_run() {
    local exe=$1 build_root=$2 reason
    [ "$(pe_machine "$exe")" = 014c ] || return 0
    reason=$(why_no_32bit)
    [ -n "$reason" ] || return 0
    echo "error: $exe is 32-bit and $reason; its 64-bit twin is" \
        "$(realpath -m "$build_root")/windows-x64/src/Pal4Subtitles.exe" >&2
    exit 2
}
