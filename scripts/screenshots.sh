#!/usr/bin/env bash
# Makes the README's screenshots under Xvfb, each cropped to the window(s) on Wine's
# desktop, the desktop showing through rounded corners made transparent:
#   docs/screenshots/editor.png            the editor in its own skin, in run.sh's demo
#                                          messenger folder (scripts/run.sh with KV_SHOT)
#   docs/screenshots/gallery-koravent.png  KoraventGallery --shot --skin Koravent
#   docs/screenshots/gallery-midnight.png  ... --skin Midnight
#   docs/screenshots/gallery-noskin.png    ... --skin none (Wine's own frame)
#   docs/screenshots/gallery-mdi.png       ... --mdi: the MDI demo over the gallery
#   docs/screenshots/gallery-<skin>-<dpi>.png  the gallery in both skins at display
#                                          scales 144 (150 %) and 192 (200 %)
# Environment: KV_BUILD_DIR (default build/win64).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build="${KV_BUILD_DIR:-$root/build/win64}"
out="$root/docs/screenshots"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# crop SCREEN.png OUT.png [DPI]: Wine's desktop (800x600 at 96 DPI, at the screen's
# top-left, one colour) cut down to what is on it; the desktop colour that touches the
# edges becomes transparent.
crop() {
  local desktop dpi=${3:-96}
  desktop=$(convert "$1" -format '%[pixel:p{0,0}]' info:)
  convert "$1" -crop $((800 * dpi / 96))x$((600 * dpi / 96))+0+0 +repage -trim +repage \
    -bordercolor "$desktop" -border 1 -alpha set -fill none -fuzz 0 -draw 'color 0,0 floodfill' -shave 1x1 \
    -define png:compression-level=9 "$2"
  echo "screenshots: $2 ($(identify -format '%wx%h' "$2"))"
}

# The editor: run.sh builds it, prepares the demo folder and takes the screen when there
# is no display.
env -u DISPLAY KV_SHOT="$work/editor-screen.png" KV_BUILD_DIR="$build" "$root/scripts/run.sh"
crop "$work/editor-screen.png" "$out/editor.png"

# The gallery, once per look, in a prefix of its own per display scale.
cmake --build "$build" --target KoraventGallery
export KV_WORK="$work" KV_GALLERY="$build/src/gallery/KoraventGallery.exe"
# gallery DPI SHOT...: each SHOT is NAME:SWITCHES (switches split at spaces).
gallery() {
  local dpi=$1; shift
  local prefix="$build/shot-wineprefix"
  [ "$dpi" = 96 ] || prefix="$prefix-dpi$dpi"
  "$root/scripts/wine-prefix.sh" "$prefix" "$dpi"
  (
    source "$root/scripts/wine-env.sh" "$prefix"
    export KV_WINE="$WINE_BIN" KV_WINESERVER="$WINESERVER_BIN" KV_DESKTOP="$((800 * dpi / 96))x$((600 * dpi / 96))+0+0"
    xvfb-run -a -s "-screen 0 $((1024 * dpi / 96))x$((768 * dpi / 96))x24" bash -c '
      set -u
      # shoot NAME SWITCHES...: starts the gallery still, waits until three screens in a row
      # agree (at most 30 s), keeps the last one as $KV_WORK/NAME.png, ends the prefix.
      shoot() {
        local name=$1; shift
        "$KV_WINE" "$KV_GALLERY" --shot "$@" &
        local same=0 i
        rm -f "$KV_WORK/prev.png"
        for i in $(seq 1 60); do
          sleep 0.5
          import -window root "$KV_WORK/now.png"
          if [ -f "$KV_WORK/prev.png" ] && [ "$(compare -metric AE "$KV_WORK/now.png" "$KV_WORK/prev.png" null: 2>&1)" = 0 ] &&
             [ "$(convert "$KV_WORK/now.png" -crop "$KV_DESKTOP" -format %k info:)" -gt 1 ]; then
            same=$((same + 1))
          else
            same=0
          fi
          mv "$KV_WORK/now.png" "$KV_WORK/prev.png"
          [ "$same" -ge 2 ] && break
        done
        [ "$same" -ge 2 ] || echo "screenshots: $name never stopped changing; keeping the last screen" >&2
        mv "$KV_WORK/prev.png" "$KV_WORK/$name.png"
        "$KV_WINESERVER" -k 2>/dev/null || true
        wait || true
      }
      for shot in "$@"; do
        shoot ${shot%%:*} ${shot#*:}
      done
    ' _ "$@"
  )
  local shot
  for shot in "$@"; do crop "$work/${shot%%:*}.png" "$out/${shot%%:*}.png" "$dpi"; done
}
gallery 96 "gallery-koravent:--skin Koravent" "gallery-midnight:--skin Midnight" \
  "gallery-noskin:--skin none" "gallery-mdi:--skin Koravent --mdi"
for dpi in 144 192; do
  gallery "$dpi" "gallery-koravent-$dpi:--skin Koravent" "gallery-midnight-$dpi:--skin Midnight"
done
