#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with, only those that are missing.
# Safe to run again: when everything is there it changes nothing and needs no network.
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
)

is_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

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
export DEBIAN_FRONTEND=noninteractive
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
    ! dpkg --print-foreign-architectures | grep -qx i386; then
    step "Adding the i386 architecture (for wine32)"
    as_root dpkg --add-architecture i386
fi
step "Updating the package lists"
as_root apt-get update -q
step "Installing ${#missing[@]} packages"
as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
