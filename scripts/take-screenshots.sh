#!/usr/bin/env bash
# Takes the documentation's screenshots of Quorvel.exe under wine: the main
# dialog, a scan in progress and the summary box, as docs/screenshot-*.png.
# The program runs in a wine desktop window so that captions are drawn.
# Needs what install-windows-test-deps.sh installs.
set -euo pipefail
source "$(dirname "$0")/windows-wine-env.sh"
cd "$top"

build_windows_programs >/dev/null
start_display
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
new_wine_prefix "$build/screenshot-prefix"

images="$build/screenshot-images"
photos="$images/photos"
(source tests/integration/lib/common.sh && make_photo_set "$photos")
make_fat32_image "$images/card/card.img" 4G "$photos"/*.jpg
map_drive h "$images/card/card.img"
mkdir -p "$WINEPREFIX/drive_c/photos"
cp "$photos"/*.jpg "$WINEPREFIX/drive_c/photos/"
shots="$WINEPREFIX/drive_c/shots"
rm -rf "$shots" && mkdir -p "$shots"
wineserver -k 2>/dev/null || true
wineserver -w

wine explorer /desktop=quorvel,1024x768 "$build/quorvel_screenshot_tour.exe" \
  --program "$(winepath -w "$build/Quorvel.exe" 2>/dev/null)" --drive H: --photos 'C:\photos' --work 'C:\shots' \
  >"$build/screenshot-tour.log" 2>&1 &
tour=$!

for state in main scan summary; do
  for _ in $(seq 1 3000); do
    [ -e "$shots/$state.ready" ] && break
    kill -0 "$tour" 2>/dev/null || { cat "$build/screenshot-tour.log"; exit 1; }
    sleep 0.1
  done
  [ -e "$shots/$state.ready" ] || { echo "the program never reached the $state state" >&2; exit 1; }
  sleep 1  # let the windows finish painting
  import -window root "docs/screenshot-$state.png"
  echo "docs/screenshot-$state.png"
  touch "$shots/$state.done"
done
# The desktop window stays while wine's file browser shows the folder: the
# cleanup ends it.
