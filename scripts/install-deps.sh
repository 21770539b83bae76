#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with, only those that are missing.
# Safe to run again: when everything is there it changes nothing and needs no network.
# wine32:i386 is installed last and on its own: where it alone cannot be installed (a mirror in
# the middle of a sync, say), the script says why, leaves that reason for why_no_32bit, and ends
# well, since the demo and the tests run on the 64-bit twin. Anything else missing is an error.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

packages=(
    cmake ninja-build g++                                  # native build of the portable code
    clang libclang-rt-14-dev                               # fuzz targets (libFuzzer runtime)
    googletest libgtest-dev libbenchmark-dev               # tests and benchmarks
    g++-mingw-w64-i686 g++-mingw-w64-x86-64                # the Windows builds (32-bit product)
    wine wine64                                            # running the Windows builds
    xvfb xauth xdotool imagemagick                         # a display, driving it, screenshots
    zip unzip                                              # the release package
    fonts-wqy-microhei fonts-arphic-ukai locales           # Chinese fonts and a zh_CN locale
    clang-format                                           # the repository's code style
    chromium                                               # the web page in a real browser
)

is_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# apt's first error line in a log, without its "E: ", else the log's last line.
apt_error() {
    local line
    line=$(sed -n '/^E: /{s/^E: //p;q}' "$1")
    [ -n "$line" ] || line=$(tail -n 1 "$1")
    printf '%s\n' "$line"
}

# A reason left by an earlier run is stale once this one starts.
rm -f "$PAL4_WINE32_FAILURE"

step "Checking the packages the project needs"
if kernel_runs_32bit; then
    note "this kernel runs 32-bit programs: adding wine32, which runs the 32-bit product"
    packages+=(wine32:i386)
else
    note "this kernel cannot run 32-bit programs: the Windows tests run on 64-bit Wine only"
fi

missing=()
for package in "${packages[@]}"; do
    if ! is_installed "$package"; then
        missing+=("$package")
    fi
done

if [ "${#missing[@]}" -eq 0 ]; then
    note "all ${#packages[@]} packages are installed"
    exit 0
fi

note "missing: ${missing[*]}"
wine32_missing=false
others=()
for package in "${missing[@]}"; do
    if [ "$package" = wine32:i386 ]; then
        wine32_missing=true
    else
        others+=("$package")
    fi
done

export DEBIAN_FRONTEND=noninteractive
if $wine32_missing && ! dpkg --print-foreign-architectures | grep -qx i386; then
    step "Adding the i386 architecture (for wine32)"
    as_root dpkg --add-architecture i386
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT

step "Updating the package lists"
update_error=""
if ! as_root apt-get update -q 2>&1 | tee "$log"; then
    update_error=$(apt_error "$log")
    # A mirror in the middle of a sync fails a list or two while the rest load: go on when the
    # lists that loaded can install everything but wine32, which may still fail on its own.
    if [ "${#others[@]}" -gt 0 ] &&
        ! apt-get install -s -q --no-install-recommends "${others[@]}" >"$log" 2>&1; then
        echo "error: apt-get update failed ($update_error) and the lists that loaded cannot" \
            "install ${others[*]}: $(apt_error "$log")" >&2
        exit 1
    fi
    note "apt-get update failed in part ($update_error); going on with the lists that loaded"
fi

if [ "${#others[@]}" -gt 0 ]; then
    step "Installing ${#others[@]} packages"
    if ! as_root apt-get install -y -q --no-install-recommends "${others[@]}" 2>&1 |
        tee "$log"; then
        echo "error: could not install ${others[*]}: $(apt_error "$log")" >&2
        exit 1
    fi
fi

if $wine32_missing; then
    step "Installing wine32:i386, which runs the 32-bit product"
    if ! as_root apt-get install -y -q --no-install-recommends wine32:i386 2>&1 | tee "$log"; then
        reason=$(apt_error "$log")
        if [ -n "$update_error" ]; then
            reason+="; apt-get update had failed: $update_error"
        fi
        mkdir -p "$(dirname "$PAL4_WINE32_FAILURE")"
        printf '%s\n' "$reason" >"$PAL4_WINE32_FAILURE"
        note "wine32:i386 could not be installed ($reason); the 64-bit twin stands in"
    fi
fi
