#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine in a demo messenger folder
# (build/win64/demo-qq: a stand-in Koravent.exe and a sample Koravent.ini).
# With a display it runs there; without one it runs inside Xvfb, saves a screenshot of
# the screen and prints where.
# `scripts/run.sh gallery [switches]` builds and starts the control gallery instead
# (KoraventGallery.exe; switches: --page N|NAME, --mdi, --dialog, --shot, --quit-after MS).
# Environment: KV_BUILD_DIR (default build/win64), KV_SHOT (screenshot path).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/install-deps.sh"
build="${KV_BUILD_DIR:-$root/build/win64}"
cmake --preset win64 -B "$build" >/dev/null

if [ "${1:-}" = gallery ]; then
  shift
  cmake --build "$build" --target KoraventGallery
  exe="$build/src/gallery/KoraventGallery.exe"
  prefix="$build/run-wineprefix"
  "$root/scripts/wine-prefix.sh" "$prefix"
  source "$root/scripts/wine-env.sh" "$prefix"
  if [ -n "${DISPLAY:-}" ] && xdotool getmouselocation >/dev/null 2>&1; then
    echo "run: starting KoraventGallery.exe on $DISPLAY"
    exec "$WINE_BIN" "$exe" "$@"
  fi
  shot="${KV_SHOT:-$build/gallery-screenshot.png}"
  echo "run: no display; running the gallery inside Xvfb"
  export KV_SHOT_PATH="$shot"
  xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
    "$0" "$@" &
    for i in $(seq 1 60); do
      xdotool search --name "Koravent Gallery" >/dev/null 2>&1 && break
      sleep 0.5
    done
    sleep 3
    import -window root "$KV_SHOT_PATH"
    "'"$WINESERVER_BIN"'" -k 2>/dev/null || true
  ' "$WINE_BIN" "$exe" "$@"
  echo "run: screenshot saved to $shot"
  exit 0
fi
cmake --build "$build" --target KoraventConfig Koravent

demo="$build/demo-qq"
mkdir -p "$demo"
cp "$build/src/app/KoraventConfig.exe" "$build/src/app/Koravent.exe" "$demo/"
rm -f "$demo/Koravent.started"
# A settings file as the add-on leaves it after some use (GBK, CR LF).
iconv -f UTF-8 -t GBK <<'INI' | sed 's/$/\r/' > "$demo/Koravent.ini"
[Koravent]
0100=1
0101=2
0102=0
0103=1
0104=1
0105=1
0106=1048578
0107=0
0108=IP:%IP% 地址:%AREA%
0109=1
0200=1
0201=1
0202=30
0203=0
0204=QQ.exe|TXPlatform.exe
0205=0
0206=1
0207=1
0208=1
0209=0
020a=2
0300=1
0301= %IP% [%AREA%] 
0305=1
0400=1
0401=%AREA%
0407=Koravent - %NICK%
0408=%IP%
0500=0
0501=离线:%IP%
0600=1
0601=0
0602=0
0603=0
0604=1
0605=1
0606=0
0607=1

[WorkerDll]
Enable=1
INI

prefix="$build/run-wineprefix"
"$root/scripts/wine-prefix.sh" "$prefix"
source "$root/scripts/wine-env.sh" "$prefix"

if [ -n "${DISPLAY:-}" ] && xdotool getmouselocation >/dev/null 2>&1; then
  echo "run: starting KoraventConfig.exe in $demo on $DISPLAY"
  cd "$demo"
  exec "$WINE_BIN" KoraventConfig.exe
fi

shot="${KV_SHOT:-$build/koravent-screenshot.png}"
echo "run: no display; running inside Xvfb"
export KV_SHOT_PATH="$shot" KV_DEMO="$demo"
xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  cd "$KV_DEMO"
  "'"$WINE_BIN"'" KoraventConfig.exe &
  # Wait (bounded) for the window, then give it a moment to paint.
  for i in $(seq 1 60); do
    xdotool search --name "Koravent" >/dev/null 2>&1 && break
    sleep 0.5
  done
  sleep 3
  import -window root "$KV_SHOT_PATH"
  "'"$WINESERVER_BIN"'" -k 2>/dev/null || true
'
echo "run: screenshot saved to $shot"
