#!/usr/bin/env bash
# Builds the release zip ${PAL4_BUILD_DIR:-build}/Pal4Subtitles-<version>-win32.zip from the
# windows preset (the 32-bit product): the stripped exe, the player's guide in Chinese and in
# English and the licence, then checks it with scripts/check-package.sh.
#
# The version is project()'s in the top CMakeLists.txt, read from the file the configured build
# writes. The guides' sources are plain UTF-8 with LF; the zip gets them, and the licence, as
# UTF-8 with a byte-order mark and CR LF, which Notepad on any Chinese Windows reads as UTF-8.
#
# Settings: PAL4_BUILD_DIR (default build), PAL4_JOBS (default 2).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
cd "$PAL4_ROOT"

build_root=$(realpath -m "${PAL4_BUILD_DIR:-build}")
build_dir=$build_root/windows

step "Building the 32-bit exe (preset windows) in $build_dir"
if [ ! -f "$build_dir/build.ninja" ]; then
    mkdir -p "$build_root"
    cmake --preset windows -B "$build_dir" >"$build_dir.configure.log" 2>&1 ||
        { tail -40 "$build_dir.configure.log"; exit 1; }
fi
cmake --build "$build_dir" -j "$PAL4_JOBS" --target Pal4Subtitles

version=$(tr -d '\r\n' <"$build_dir/pal4_version.txt")
name=Pal4Subtitles-$version-win32
stage=$build_root/package/$name
zip_path=$build_root/$name.zip
note "version $version"

# windows_text <source> <target>: UTF-8 with a BOM and CR LF, @VERSION@ filled in. A BOM or CR
# already in the source is dropped first, so the result never doubles them.
windows_text() {
    LC_ALL=C awk -v version="$version" '
        NR == 1 { printf "\357\273\277"; sub(/^\357\273\277/, "") }
        { sub(/\r$/, ""); gsub(/@VERSION@/, version); printf "%s\r\n", $0 }
    ' "$1" >"$2"
}

step "Staging the package in $stage"
rm -rf "$stage"
mkdir -p "$stage"
# The resources (icon, version information, manifest) survive stripping; the symbols do not.
i686-w64-mingw32-strip -o "$stage/Pal4Subtitles.exe" "$build_dir/src/Pal4Subtitles.exe"
windows_text docs/guide/使用说明.txt.in "$stage/使用说明.txt"
windows_text docs/guide/README.txt.in "$stage/README.txt"
windows_text LICENSE "$stage/LICENSE.txt"

step "Writing $zip_path"
# Debian's zip 3.0 never sets the UTF-8 flag of a name, so archivers on Windows would read
# 使用说明.txt in the local code page and garble it; CMake's libarchive sets the flag, but only
# under a UTF-8 locale. The commit's date as every file's time makes the zip reproducible.
mtime=$(git log -1 --format=%cd --date=iso 2>/dev/null || date '+%F %T %z')
rm -f "$zip_path"
(cd "$stage" && LC_ALL=C.UTF-8 cmake -E tar cf "$zip_path" \
    --format=zip --mtime="$mtime" Pal4Subtitles.exe 使用说明.txt README.txt LICENSE.txt)

bash "$PAL4_ROOT/scripts/check-package.sh" "$zip_path"
