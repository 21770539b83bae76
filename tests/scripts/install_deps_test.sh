#!/usr/bin/env bash
# scripts/install-deps.sh against stand-ins for apt-get, dpkg, dpkg-query and sudo: a mirror in
# the middle of a sync (one list fails, wine32:i386 cannot be found), a package that cannot be
# installed, and an update that loads nothing. Runs a copy of the scripts, so the reason it
# leaves lands in a scratch build/, and nothing on this machine is installed or changed.
set -euo pipefail
unset PAL4_FAKE_NO_32BIT # it would stand in for the answer why_no_32bit is checked for
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/repo/scripts/lib" "$work/bin"
cp "$root/scripts/install-deps.sh" "$work/repo/scripts/"
cp "$root/scripts/lib/common.sh" "$work/repo/scripts/lib/"

printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
printf '#!/bin/sh\n[ "$1" != --print-foreign-architectures ] || echo i386\n' >"$work/bin/dpkg"
cat >"$work/bin/dpkg-query" <<'STAND_IN'
#!/bin/sh
for package; do :; done
grep -qxF "$package" "$FAKE_INSTALLED" && printf 'install ok installed'
STAND_IN
# FAKE_APT: mirror (one list fails, wine32 is not found), broken (clang-format cannot be
# installed) or down (no list loads).
cat >"$work/bin/apt-get" <<'STAND_IN'
#!/bin/bash
if [ "$1" = update ]; then
    case $FAKE_APT in
    mirror)
        echo "E: Failed to fetch http://security.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (5316 != 5280). Mirror sync in progress? [IP: 151.101.2.132 80]"
        echo "E: Some index files failed to download. They have been ignored, or old ones used instead." ;;
    down)
        echo "E: Failed to fetch http://deb.debian.org/debian/dists/bookworm/InRelease  Temporary failure resolving 'deb.debian.org'" ;;
    *) exit 0 ;;
    esac
    exit 100
fi
packages=()
for argument in "${@:2}"; do
    case $FAKE_APT:$argument in
    *:-*) ;;
    down:* | mirror:wine32:i386) echo "E: Unable to locate package $argument" >&2; exit 100 ;;
    broken:clang-format) echo "E: Package 'clang-format' has no installation candidate" >&2; exit 100 ;;
    *) packages+=("$argument") ;;
    esac
done
[[ " $* " == *" -s "* ]] || printf '%s\n' "${packages[@]}" >>"$FAKE_INSTALLED"
STAND_IN
chmod +x "$work/bin"/*

failures=0
check() { # check DESCRIPTION COMMAND...: one line saying whether COMMAND held
    if "${@:2}"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi
}
lines() { # lines PATTERN: how many lines of the last run's output match
    grep -cE -- "$1" "$work/out" || true
}
run() { # run MODE: install-deps.sh with a fresh machine's packages; its status in $status
    : >"$work/installed"
    status=0
    FAKE_APT=$1 FAKE_INSTALLED=$work/installed PAL4_FAKE_KERNEL_32BIT=yes PATH="$work/bin:$PATH" \
        bash "$work/repo/scripts/install-deps.sh" >"$work/out" 2>&1 || status=$?
}
why() { # why_no_32bit of the copy, where wine32's loader is missing
    (source "$work/repo/scripts/lib/common.sh" && PAL4_WINE32_LOADER=$work/none &&
        PAL4_FAKE_KERNEL_32BIT=yes why_no_32bit)
}

run mirror
check "mirror: exits 0" [ "$status" -eq 0 ]
check "mirror: one line on the partial update" [ "$(lines 'failed in part.*Mirror sync')" -eq 1 ]
check "mirror: one line on wine32" \
    [ "$(lines 'wine32:i386 could not be installed \(Unable to locate package wine32:i386;')" -eq 1 ]
others=$(sed -n 's/^ *missing: //p' "$work/out" | tr ' ' '\n' | grep -vx 'wine32:i386')
check "mirror: all but wine32 installed, in one go" [ "$others" = "$(cat "$work/installed")" ]
check "mirror: why_no_32bit names the reason" \
    grep -q 'could not be installed: Unable to locate package wine32:i386; .*Mirror sync' <<<"$(why)"

run broken
check "broken: exits non-zero" [ "$status" -ne 0 ]
check "broken: says which package" \
    [ "$(lines "^error: could not install .*'clang-format' has no")" -eq 1 ]

run down
check "down: exits non-zero" [ "$status" -ne 0 ]
check "down: says the update failed" \
    [ "$(lines '^error: apt-get update failed .*Temporary failure')" -eq 1 ]
check "down: the earlier run's reason is gone" \
    [ "$(why)" = "32-bit Wine (wine32:i386) is not installed" ]

[ "$failures" -eq 0 ] || { cat "$work/out"; exit 1; }
