#!/usr/bin/env bash
# Creates or updates the project's Wine prefix (build/wineprefix, or $WINEPREFIX when set):
# wineboot, the Chinese font faces the tool asks for mapped to installed fonts, no mono/gecko
# installer dialogs, no crash dialogs, title bars drawn by Wine. A prefix that is already up
# to date is left alone, so every script may call this once per run at little cost.
#
# Also builds a private zh_CN.UTF-8 locale in build/locale for tests that need Wine's ANSI code
# page to be 936: run them with LOCPATH=build/locale LC_ALL=zh_CN.UTF-8.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

export WINEPREFIX=${WINEPREFIX:-$PAL4_ROOT/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine_exec=$PAL4_ROOT/scripts/wine-exec.sh

# Faces the tool and its users name, mapped to the CJK fonts the project installs. Regedit
# reads the file as UTF-16, so no Chinese text has to pass a command line.
registry_text() {
    cat <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"宋体"="WenQuanYi Micro Hei"
"新宋体"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
"NSimSun"="WenQuanYi Micro Hei"
"黑体"="WenQuanYi Micro Hei"
"SimHei"="WenQuanYi Micro Hei"
"微软雅黑"="WenQuanYi Micro Hei"
"Microsoft YaHei"="WenQuanYi Micro Hei"
"楷体_GB2312"="AR PL UKai CN"
"楷体"="AR PL UKai CN"
"KaiTi"="AR PL UKai CN"
"KaiTi_GB2312"="AR PL UKai CN"
"仿宋_GB2312"="AR PL UKai CN"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

; Wine draws the title bars itself: under a bare Xvfb no window manager would.
[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"

REG
}

stamp_file=$WINEPREFIX/.pal4-prefix
wanted_stamp=$(registry_text | sha256sum | cut -d' ' -f1)

step "Preparing the Wine prefix $WINEPREFIX"
if [ -f "$WINEPREFIX/system.reg" ] && [ -f "$stamp_file" ] &&
    [ "$(cat "$stamp_file")" = "$wanted_stamp" ]; then
    note "already up to date"
else
    mkdir -p "$WINEPREFIX"
    note "wineboot -i (takes 10-20 s the first time)"
    "$wine_exec" wineboot -i >/dev/null 2>&1
    reg_file=$WINEPREFIX/pal4-fonts.reg
    {
        printf '\xff\xfe'
        registry_text | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE
    } >"$reg_file"
    note "font replacements for the Chinese faces, no crash dialogs"
    "$wine_exec" regedit /S "Z:${reg_file//\//\\}" >/dev/null 2>&1
    # The registry reaches the files only when the server ends; wait so the next run sees it.
    WINEPREFIX=$WINEPREFIX /usr/bin/wineserver -w
    echo "$wanted_stamp" >"$stamp_file"
    note "done"
fi

locale_dir=$PAL4_ROOT/build/locale
if [ ! -d "$locale_dir/zh_CN.UTF-8" ]; then
    step "Building a private zh_CN.UTF-8 locale in $locale_dir"
    mkdir -p "$locale_dir"
    # localedef exits 1 on harmless warnings; the test below is what counts.
    localedef -i zh_CN -f UTF-8 "$locale_dir/zh_CN.UTF-8" >/dev/null 2>&1 || true
    if [ -d "$locale_dir/zh_CN.UTF-8" ]; then
        note "done"
    else
        note "could not build it (package locales missing?); tests needing code page 936 will say so"
    fi
fi
