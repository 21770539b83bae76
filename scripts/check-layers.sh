#!/usr/bin/env bash
# Checks that every include of src/ points down the layers that src/CMakeLists.txt declares.
#
# The table is read from the pal4_module(NAME DIR folder DEPS ...) calls, and from the
# add_executable/target_link_libraries pair of each program built from a file of src/ (WinMain).
# A file may include its own folder and the folders of its library's dependencies, direct or
# not; a folder may be nested (win32/platform), and a file belongs to the deepest declared folder
# holding it. Windows headers only in the rooms under win32/ and the programs' own sources. Prints
# each offending include with what would have to be declared, and exits 1 when there is one.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
src=$root/src

declare -A folder_of_lib=() deps_of_lib=() lib_of_folder=() deps_of_program=() program_of_file=()

# One CMake call per line, comments dropped: "pal4_module(pal4_ui DIR ui DEPS pal4_settings".
calls=$(sed 's/#.*//' "$src/CMakeLists.txt" | tr '\n' ' ' | tr ')' '\n' | sed 's/^ *//')
while read -r call; do
    read -r -a words <<<"${call//(/ }"
    case "${words[0]:-}" in
    pal4_module)
        lib=${words[1]} folder="" deps="" mode=""
        for word in "${words[@]:2}"; do
            case "$word" in
            DIR | DEPS) mode=$word ;;
            *) if [ "$mode" = DIR ]; then folder=$word; else deps+=" $word"; fi ;;
            esac
        done
        folder_of_lib[$lib]=$folder
        lib_of_folder[$folder]=$lib
        deps_of_lib[$lib]=$deps
        ;;
    add_executable)
        for word in "${words[@]:2}"; do
            case "$word" in *.cpp) program_of_file[$word]=${words[1]} ;; esac
        done
        ;;
    target_link_libraries)
        deps_of_program[${words[1]}]+=" ${words[*]:2}"
        ;;
    esac
done <<<"$calls"

# The folders a list of libraries reaches, the libraries' own included.
reachable_folders() {
    local -A seen=()
    local pending=("$@") lib
    while [ ${#pending[@]} -gt 0 ]; do
        lib=${pending[0]}
        pending=("${pending[@]:1}")
        [ -n "${folder_of_lib[$lib]:-}" ] && [ -z "${seen[$lib]:-}" ] || continue
        seen[$lib]=1
        # shellcheck disable=SC2206
        pending+=(${deps_of_lib[$lib]})
    done
    local folders=""
    for lib in "${!seen[@]}"; do folders+=" ${folder_of_lib[$lib]}"; done
    echo "$folders "
}

declare -A allowed_of_folder=()
for folder in "${!lib_of_folder[@]}"; do
    allowed_of_folder[$folder]=$(reachable_folders "${lib_of_folder[$folder]}")
done

problems=0
report() {
    echo "$1"
    problems=$((problems + 1))
}

# The deepest declared folder holding a path of src/ ("win32/platform/gb2312.hpp" is in
# win32/platform); the path's first folder when none is declared.
room_of() {
    local path=$1 candidate
    candidate=${path%/*}
    while [ "$candidate" != "$path" ]; do
        if [ -n "${lib_of_folder[$candidate]:-}" ]; then
            echo "$candidate"
            return
        fi
        path=$candidate
        candidate=${candidate%/*}
    done
    echo "${1%%/*}"
}

while read -r dir; do
    folder=${dir#"$src"/}
    [ -n "${lib_of_folder[$folder]:-}" ] ||
        report "src/$folder/: no pal4_module in src/CMakeLists.txt declares this folder"
done < <(find "$src" -mindepth 2 -type f \( -name '*.cpp' -o -name '*.hpp' -o -name '*.h' \) \
    -printf '%h\n' | sort -u)

includes=0
while IFS=: read -r file line text; do
    relative=${file#"$src"/}
    folder=$(room_of "$relative")
    program=${program_of_file[$relative]:-}
    if [ -n "$program" ]; then
        # shellcheck disable=SC2086
        allowed=$(reachable_folders ${deps_of_program[$program]})
        owner="the program $program"
    else
        allowed=${allowed_of_folder[$folder]:-}
        owner="$folder/ (${lib_of_folder[$folder]:-undeclared})"
    fi
    if [[ $text =~ \<(windows|winsock2|ws2tcpip|commctrl|commdlg|shellapi|bcrypt)\.h\> ]]; then
        [[ $folder == win32/* ]] || [ -n "$program" ] ||
            report "src/$relative:$line: a Windows header outside win32/ and the programs' own sources"
        continue
    fi
    [[ $text =~ \"([^\"]+)\" ]] || continue
    target=${BASH_REMATCH[1]}
    includes=$((includes + 1))
    target_folder=$(room_of "$target")
    if [[ $target != */* ]]; then
        report "src/$relative:$line: \"$target\" names no folder; write includes from src/"
    elif [[ $target == ../* ]]; then
        report "src/$relative:$line: \"$target\" climbs out of src/"
    elif [ -z "${lib_of_folder[$target_folder]:-}" ]; then
        report "src/$relative:$line: \"$target\" is in src/$target_folder/, which no library declares"
    elif [[ $allowed != *" $target_folder "* ]]; then
        target_lib=${lib_of_folder[$target_folder]}
        if [ -z "$program" ] && [[ ${allowed_of_folder[$target_folder]} == *" $folder "* ]]; then
            report "src/$relative:$line: upward include of $target: $target_lib depends on $owner"
        else
            report "src/$relative:$line: $owner includes $target without depending on $target_lib"
        fi
    fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' "$src" \
    --include='*.cpp' --include='*.hpp' --include='*.h')

if [ "$problems" -gt 0 ]; then
    echo "layer check: $problems problem(s); the table is src/CMakeLists.txt"
    exit 1
fi
echo "layer check: $includes includes of src/ point down the declared layers"
