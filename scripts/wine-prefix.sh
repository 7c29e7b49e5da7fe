#!/usr/bin/env bash
# Makes sure PREFIX is a ready Wine prefix: copied from a template that is prepared once
# per Wine version (no Mono/Gecko prompts, no crash dialog, Chinese font substitutes,
# every window on one virtual desktop so Wine draws the frames the program paints).
# With DPI (120, 144, 192...) the copy gets that display scale: the desktop's LogPixels,
# which is what the system reports and what Wine scales fonts by.
# Usage: wine-prefix.sh PREFIX [DPI]
set -euo pipefail
target=$(realpath -m "$1")
dpi="${2:-96}"
here=$(cd "$(dirname "$0")" && pwd)
[ -f "$target/.koravent-ready" ] && [ "$(cat "$target/.koravent-dpi" 2>/dev/null || echo 96)" = "$dpi" ] && exit 0

CACHE="${KORAVENT_DEPS:-/var/cache/koravent-deps}"
version=$(/usr/lib/wine/wine64 --version 2>/dev/null | tr -c 'A-Za-z0-9.\n-' '_')
template="$CACHE/wine-prefix-$version"
mkdir -p "$CACHE"
# Tests of several scales may come here at once: one of them makes the template.
exec {lock}>"$CACHE/wine-prefix.lock"
flock "$lock"
if [ ! -f "$template/.koravent-ready" ]; then
  rm -rf "$template"
  source "$here/wine-env.sh" "$template"
  reg=$(mktemp --suffix=.reg)
  # .reg files are UTF-16LE with a byte-order mark
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } > "$reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="800x600"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"MS Sans Serif"="WenQuanYi Micro Hei"
"MS Shell Dlg"="WenQuanYi Micro Hei"
"MS Shell Dlg 2"="WenQuanYi Micro Hei"
"Tahoma"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
"宋体"="WenQuanYi Micro Hei"
"NSimSun"="WenQuanYi Micro Hei"
REG
  xvfb-run -a bash -c "'$WINE_BIN' wineboot -i >/dev/null 2>&1; '$WINE_BIN' reg import '$reg' >/dev/null 2>&1; '$WINESERVER_BIN' -w"
  rm -f "$reg"
  touch "$template/.koravent-ready"
fi
rm -rf "$target"
mkdir -p "$(dirname "$target")"
cp -a "$template" "$target"
if [ "$dpi" != 96 ]; then
  source "$here/wine-env.sh" "$target"
  value=$((dpi))
  for key in 'HKCU\Control Panel\Desktop' 'HKCU\Software\Wine\Fonts' \
             'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    "$WINE_BIN" reg add "$key" /v LogPixels /t REG_DWORD /d "$value" /f >/dev/null 2>&1
  done
  # The desktop grows with the scale, so that windows made at it still fit.
  "$WINE_BIN" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ \
    /d "$((800 * value / 96))x$((600 * value / 96))" /f >/dev/null 2>&1
  "$WINESERVER_BIN" -w
  echo "$dpi" > "$target/.koravent-dpi"
fi
