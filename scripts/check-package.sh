#!/usr/bin/env bash
# Checks a release zip made by scripts/package.sh: its name carries the project's version; it
# holds exactly the exe, the two guides and the licence; the exe is a stripped 32-bit PE with
# its icon, version information and manifest, all at that version; every text file is UTF-8
# with a byte-order mark and CR LF line ends, and the guides name the version. Prints one line
# per failed check and exits non-zero when any failed.
#
# Usage: check-package.sh ZIP
#        check-package.sh --self-test ZIP   (ZIP must pass; damaged copies of it must not)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

EXPECTED_FILES=(LICENSE.txt Pal4Subtitles.exe README.txt 使用说明.txt)
TEXT_FILES=(LICENSE.txt README.txt 使用说明.txt)
GUIDES=(README.txt 使用说明.txt)
PE_MACHINE_I386=332 # 0x14c

problems=0
problem() {
    note "FAILED: $*"
    problems=$((problems + 1))
}

# Little-endian integers and raw bytes at a byte offset of a file.
u16() { od -An -v --endian=little -t u2 -j "$2" -N 2 "$1" | tr -d ' '; }
u32() { od -An -v --endian=little -t u4 -j "$2" -N 4 "$1" | tr -d ' '; }
hex_bytes() { od -An -v -t x1 -j "$2" -N "$3" "$1" | tr -d ' \n'; }
hex_of_file() { od -An -v -t x1 "$1" | tr -d ' \n'; }
# The byte offsets at which a hex byte string occurs (pattern as \xNN escapes for grep -P).
offsets_of() { LC_ALL=C grep -obUaP "$2" "$1" | cut -d: -f1 || true; }
# "\x31\x00\x2e\x00..." for the UTF-16LE form of an ASCII text.
utf16_pattern() {
    local text=$1 i
    for ((i = 0; i < ${#text}; i++)); do
        printf '\\x%02x\\x00' "'${text:i:1}"
    done
}

project_version() {
    sed -nE 's/^project\(Pal4Subtitles VERSION ([0-9.]+).*/\1/p' "$PAL4_ROOT/CMakeLists.txt"
}

# The entries' names and general-purpose flags, "flags name" a line, from the central directory.
zip_entries() {
    local zip=$1 size end count directory i name_length extra_length comment_length
    size=$(stat -c %s "$zip")
    end=$((size - 22)) # the end record, as written without an archive comment
    [ "$(hex_bytes "$zip" "$end" 4)" = 504b0506 ] || return 1
    count=$(u16 "$zip" $((end + 10)))
    directory=$(u32 "$zip" $((end + 16)))
    for ((i = 0; i < count; i++)); do
        [ "$(hex_bytes "$zip" "$directory" 4)" = 504b0102 ] || return 1
        name_length=$(u16 "$zip" $((directory + 28)))
        extra_length=$(u16 "$zip" $((directory + 30)))
        comment_length=$(u16 "$zip" $((directory + 32)))
        printf '%s %s\n' "$(u16 "$zip" $((directory + 8)))" \
            "$(dd if="$zip" bs=1 skip=$((directory + 46)) count="$name_length" 2>/dev/null)"
        directory=$((directory + 46 + name_length + extra_length + comment_length))
    done
}

check_zip() {
    local zip=$1 version=$2 entries names expected flags name
    if ! entries=$(zip_entries "$zip"); then
        problem "$zip: no readable zip central directory"
        return
    fi
    names=$(cut -d' ' -f2- <<<"$entries" | LC_ALL=C sort)
    expected=$(printf '%s\n' "${EXPECTED_FILES[@]}" | LC_ALL=C sort)
    [ "$names" = "$expected" ] ||
        problem "the zip holds [$(tr '\n' ' ' <<<"$names")], expected [${EXPECTED_FILES[*]}]"
    # A name that is not ASCII must carry the UTF-8 flag (bit 11), or archivers on Windows
    # decode it in the local code page.
    while read -r flags name; do
        if LC_ALL=C grep -qP '[^\x00-\x7f]' <<<"$name" && (((flags & 0x800) == 0)); then
            problem "$name: not flagged as a UTF-8 name"
        fi
    done <<<"$entries"
    LC_ALL=C.UTF-8 unzip -tqq "$zip" >/dev/null || problem "$zip: unzip -t finds damaged entries"
}

check_exe() {
    local exe=$1 version=$2 pe machine sections optional_size first i section_name
    if [ "$(hex_bytes "$exe" 0 2)" != 4d5a ]; then
        problem "Pal4Subtitles.exe: not an MZ executable"
        return
    fi
    pe=$(u32 "$exe" 60)
    if [ "$(hex_bytes "$exe" "$pe" 4)" != 50450000 ]; then
        problem "Pal4Subtitles.exe: no PE header"
        return
    fi
    machine=$(u16 "$exe" $((pe + 4)))
    [ "$machine" -eq "$PE_MACHINE_I386" ] ||
        problem "Pal4Subtitles.exe: machine $(printf 0x%x "$machine"), expected 0x14c (i386)"
    local symbols strings
    symbols=$(u32 "$exe" $((pe + 16)))
    [ "$symbols" -eq 0 ] || problem "Pal4Subtitles.exe: $symbols symbols (not stripped)"
    # Names longer than 8 bytes (".eh_frame", ".debug_info") are "/<offset>" into the string
    # table that follows the symbols; strip keeps that table for the names it keeps.
    strings=$(($(u32 "$exe" $((pe + 12))) + 18 * symbols))
    sections=$(u16 "$exe" $((pe + 6)))
    optional_size=$(u16 "$exe" $((pe + 20)))
    first=$((pe + 24 + optional_size))
    for ((i = 0; i < sections; i++)); do
        section_name=$(dd if="$exe" bs=1 skip=$((first + 40 * i)) count=8 2>/dev/null | tr -d '\0')
        if [[ $section_name == /* ]]; then
            section_name=$(dd if="$exe" bs=1 skip=$((strings + ${section_name#/})) count=64 \
                2>/dev/null | tr '\0' '\n' | sed -n 1p)
        fi
        case $section_name in
        .debug*) problem "Pal4Subtitles.exe: debug section $section_name (not stripped)" ;;
        esac
    done

    local fixed fixed_offsets expected_ms expected_ls major minor patch tweak
    IFS=. read -r major minor patch tweak <<<"$version"
    expected_ms=$(((major << 16) | minor))
    expected_ls=$(((patch << 16) | ${tweak:-0}))
    fixed_offsets=$(offsets_of "$exe" '\xbd\x04\xef\xfe')
    if [ -z "$fixed_offsets" ]; then
        problem "Pal4Subtitles.exe: no version information (VS_FIXEDFILEINFO)"
    else
        fixed=$(head -1 <<<"$fixed_offsets")
        [ "$(u32 "$exe" $((fixed + 8)))" -eq "$expected_ms" ] &&
            [ "$(u32 "$exe" $((fixed + 12)))" -eq "$expected_ls" ] ||
            problem "Pal4Subtitles.exe: file version numbers are not $version.${tweak:-0}"
    fi
    [ -n "$(offsets_of "$exe" "$(utf16_pattern "$version.${tweak:-0}")")" ] ||
        problem "Pal4Subtitles.exe: no version string \"$version.${tweak:-0}\" in its version information"
    [ -n "$(offsets_of "$exe" "name=\"Pal4Subtitles\" version=\"${version//./\\.}\\.${tweak:-0}\"")" ] &&
        [ -n "$(offsets_of "$exe" 'requestedExecutionLevel')" ] ||
        problem "Pal4Subtitles.exe: no manifest for version $version.${tweak:-0}"

    # The icon's images are stored verbatim as the exe's icon resources; look for the first.
    local icon=$PAL4_ROOT/res/pal4_subtitles.ico image
    image=$(hex_bytes "$icon" "$(u32 "$icon" 18)" 256)
    grep -qF "$image" <(hex_of_file "$exe") || problem "Pal4Subtitles.exe: the icon is missing"
}

check_text() {
    local file=$1 label=$2 bare_lf carriage_returns line_feeds
    [ "$(hex_bytes "$file" 0 3)" = efbbbf ] || problem "$label: does not start with the UTF-8 BOM"
    iconv -f UTF-8 -t UTF-8 "$file" >/dev/null 2>&1 || problem "$label: not valid UTF-8"
    bare_lf=$(LC_ALL=C grep -c -v $'\r$' "$file" || true)
    [ "$bare_lf" -eq 0 ] || problem "$label: $bare_lf lines end in a bare LF"
    carriage_returns=$(tr -cd '\r' <"$file" | wc -c)
    line_feeds=$(tr -cd '\n' <"$file" | wc -c)
    [ "$carriage_returns" -eq "$line_feeds" ] || problem "$label: a CR without its LF"
    [ "$(tail -c 2 "$file" | od -An -t x1 | tr -d ' \n')" = 0d0a ] ||
        problem "$label: does not end with CR LF"
    ! LC_ALL=C grep -q '@[A-Z_]*@' "$file" || problem "$label: a placeholder was not filled in"
}

check_package() {
    local zip=$1 base version unpacked file
    base=$(basename "$zip")
    version=$(sed -nE 's/^Pal4Subtitles-([0-9]+\.[0-9]+\.[0-9]+)-win32\.zip$/\1/p' <<<"$base")
    if [ -z "$version" ]; then
        problem "$base: not named Pal4Subtitles-<version>-win32.zip"
        return
    fi
    [ "$version" = "$(project_version)" ] ||
        problem "$base: version $version, but the project's is $(project_version)"
    check_zip "$zip" "$version"
    unpacked=$(mktemp -d)
    LC_ALL=C.UTF-8 unzip -qq -o "$zip" -d "$unpacked" 2>/dev/null || true
    if [ -f "$unpacked/Pal4Subtitles.exe" ]; then
        check_exe "$unpacked/Pal4Subtitles.exe" "$version"
    fi
    for file in "${TEXT_FILES[@]}"; do
        [ -f "$unpacked/$file" ] && check_text "$unpacked/$file" "$file"
    done
    for file in "${GUIDES[@]}"; do
        [ -f "$unpacked/$file" ] && ! grep -qF "$version" "$unpacked/$file" &&
            problem "$file: does not name version $version"
    done
    rm -rf "$unpacked"
}

# --- Self-test: each damage below, done to a copy of a good zip, must be caught. ---

damage_lf_guide() { sed -i 's/\r$//' "$1/README.txt"; }
damage_no_bom() { LC_ALL=C sed -i '1s/^\xEF\xBB\xBF//' "$1/使用说明.txt"; }
damage_lone_cr() { printf 'x\ry\r\n' >>"$1/LICENSE.txt"; }
damage_extra_file() { printf 'x\r\n' >"$1/notes.txt"; }
damage_no_licence() { rm "$1/LICENSE.txt"; }
damage_old_version_in_guide() { sed -i "s/$2/0.0.1/g" "$1/使用说明.txt"; }
damage_placeholder() { printf '@VERSION@\r\n' >>"$1/README.txt"; }
patch_exe() { printf '%b' "$3" | dd of="$1/Pal4Subtitles.exe" bs=1 seek="$2" conv=notrunc 2>/dev/null; }
damage_x64_machine() { patch_exe "$1" $(($(u32 "$1/Pal4Subtitles.exe" 60) + 4)) '\x64\x86'; }
damage_symbol_table() { patch_exe "$1" $(($(u32 "$1/Pal4Subtitles.exe" 60) + 16)) '\x01'; }
damage_file_version() {
    local fixed
    fixed=$(offsets_of "$1/Pal4Subtitles.exe" '\xbd\x04\xef\xfe' | sed -n 1p)
    patch_exe "$1" $((fixed + 8)) '\x09'
}
damage_icon() {
    local icon=$PAL4_ROOT/res/pal4_subtitles.ico pattern found
    pattern=$(od -An -v -t x1 -j "$(u32 "$icon" 18)" -N 16 "$icon" | tr -d '\n' | sed 's/ /\\x/g')
    found=$(offsets_of "$1/Pal4Subtitles.exe" "$pattern" | sed -n 1p)
    patch_exe "$1" $((found + 200)) '\x5a\x5a'
}
damage_manifest() {
    LC_ALL=C sed -i 's/name="Pal4Subtitles" version="/name="Pal4Subtitles" versioN="/' \
        "$1/Pal4Subtitles.exe"
}

# case name | damage (none: the zip is only rewritten) | how the zip is written | expected line
SELF_TEST_CASES=(
    "good copy|none|libarchive|"
    "LF-only guide|damage_lf_guide|libarchive|lines end in a bare LF"
    "guide without BOM|damage_no_bom|libarchive|does not start with the UTF-8 BOM"
    "CR without LF|damage_lone_cr|libarchive|a CR without its LF"
    "extra file|damage_extra_file|libarchive|the zip holds"
    "no licence|damage_no_licence|libarchive|the zip holds"
    "guide of another version|damage_old_version_in_guide|libarchive|does not name version"
    "placeholder left|damage_placeholder|libarchive|placeholder was not filled in"
    "64-bit exe|damage_x64_machine|libarchive|expected 0x14c"
    "symbol table|damage_symbol_table|libarchive|not stripped"
    "file version numbers|damage_file_version|libarchive|file version numbers"
    "manifest|damage_manifest|libarchive|no manifest"
    "icon|damage_icon|libarchive|the icon is missing"
    "names without UTF-8 flag|none|info-zip|not flagged as a UTF-8 name"
    "zip of another version|none|renamed|but the project's is"
)

# rezip <dir> <zip> <how>: packs the files of dir as package.sh does, or as Debian's zip does.
rezip() {
    local files=()
    mapfile -t files < <(cd "$1" && ls)
    case $3 in
    info-zip) (cd "$1" && zip -qX "$2" "${files[@]}") ;;
    *) (cd "$1" && LC_ALL=C.UTF-8 cmake -E tar cf "$2" --format=zip "${files[@]}") ;;
    esac
}

self_test() {
    local good=$1 version work entry case_name damage how expected zip output status failures=0
    version=$(sed -nE 's/^Pal4Subtitles-([0-9.]+)-win32\.zip$/\1/p' <<<"$(basename "$good")")
    work=$(mktemp -d)
    for entry in "${SELF_TEST_CASES[@]}"; do
        IFS='|' read -r case_name damage how expected <<<"$entry"
        rm -rf "$work/files" "$work/out"
        mkdir -p "$work/files" "$work/out"
        LC_ALL=C.UTF-8 unzip -qq "$good" -d "$work/files"
        [ "$damage" = none ] || "$damage" "$work/files" "$version"
        zip=$work/out/$(basename "$good")
        [ "$how" = renamed ] && zip=$work/out/Pal4Subtitles-0.0.1-win32.zip
        rezip "$work/files" "$zip" "$how"
        status=0
        output=$(problems=0 && check_package "$zip" && [ "$problems" -eq 0 ]) || status=$?
        if [ -z "$expected" ] && [ "$status" -eq 0 ]; then
            note "ok: $case_name passes"
        elif [ -n "$expected" ] && [ "$status" -ne 0 ] && grep -qF "$expected" <<<"$output"; then
            note "ok: $case_name caught"
        else
            note "SELF-TEST FAILED: $case_name (status $status, expected '${expected:-a pass}')"
            [ -n "$output" ] && printf '%s\n' "$output"
            failures=$((failures + 1))
        fi
    done
    rm -rf "$work"
    [ "$failures" -eq 0 ]
}

if [ "${1:-}" = --self-test ]; then
    step "Self-test of the package checks on damaged copies of ${2:?usage: --self-test ZIP}"
    self_test "$2"
    exit
fi

zip=${1:?usage: check-package.sh ZIP}
step "Checking $zip"
check_package "$zip"
if [ "$problems" -ne 0 ]; then
    note "$problems checks failed"
    exit 1
fi
note "all checks passed"
