#!/usr/bin/env bash
# Builds the Windows programs with mingw into build-mingw/ and tests them
# under wine (32-bit) on a private Xvfb display: the engine's unit tests,
# the console program on a FAT32 image, and Quorvel.exe driven through its
# dialogs by tests/gui. Installs nothing (see install-windows-test-deps.sh).
# Ends with the line "N passed, M failed"; the exit status is 0 only when
# nothing failed.
set -uo pipefail
source "$(dirname "$0")/windows-wine-env.sh"
cd "$top"

passed=0
failed=0
count() { passed=$((passed + $1)); failed=$((failed + $2)); }
finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ] && exit 0 || exit 1
}

if ! build_windows_programs; then
  echo "FAIL: the mingw build"
  count 0 1
  finish
fi

start_display || { count 0 1; finish; }
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
echo "--- wine prefix on display $DISPLAY"
new_wine_prefix "$build/wineprefix"

echo "--- engine unit tests under wine"
unit_log="$build/unit-tests.log"
wine "$build/tests/quorvel_unit_tests.exe" >"$unit_log" 2>&1
unit_status=$?
grep -E '^\[  (PASSED|FAILED) ' "$unit_log"
unit_passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$unit_log" | tail -1)
unit_failed=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' "$unit_log" | tail -1)
unit_passed=${unit_passed:-0}
unit_failed=${unit_failed:-0}
if [ "$unit_status" -ne 0 ] && [ "$unit_failed" -eq 0 ]; then
  tail -20 "$unit_log"
  unit_failed=1
fi
count "$unit_passed" "$unit_failed"

echo "--- disk images"
images="$build/gui-images"
photos="$images/photos"
(source tests/integration/lib/common.sh && make_photo_set "$photos") || { echo "FAIL: making photos"; count 0 1; finish; }
make_fat32_image "$images/fat32/fat32.img" 64M "$photos"/*.jpg
make_fat32_image "$images/large/large.img" 4G "$photos"/*.jpg
make_fat32_image "$images/empty/empty.img" 4G
ntfs_option=()
if make_ntfs_image "$images/ntfs/ntfs.img" 64M "$photos"/*.jpg; then
  ntfs_option=(--ntfs G:)
else
  echo "NTFS images cannot be made here (no ntfs-3g mount): the NTFS scenario is left out"
fi
mkdir -p "$images/removable" "$images/cdrom" "$WINEPREFIX/drive_c/photos"
cp "$photos"/*.jpg "$WINEPREFIX/drive_c/photos/"
map_drive f "$images/fat32/fat32.img"
map_drive h "$images/large/large.img"
map_drive e "$images/empty/empty.img"
[ ${#ntfs_option[@]} -eq 0 ] || map_drive g "$images/ntfs/ntfs.img"
map_drive r "$images/removable" floppy
map_drive s "$images/cdrom" cdrom
wineserver -k 2>/dev/null
wineserver -w

echo "--- console program under wine"
cli_out="$WINEPREFIX/drive_c/cli-out"
rm -rf "$cli_out" && mkdir -p "$cli_out"
if wine "$build/quorvel.exe" scan F: -o 'C:\cli-out' >"$build/cli-test.log" 2>&1 &&
   (source tests/integration/lib/common.sh && expect_recovered "$cli_out" "$photos"/*.jpg); then
  echo "PASS console program recovers every photo from F:"
  count 1 0
else
  echo "FAIL console program recovers every photo from F:"
  cat "$build/cli-test.log"
  count 0 1
fi

echo "--- Quorvel.exe under wine"
gui_log="$build/gui-tests.log"
wine "$build/quorvel_gui_tests.exe" --program "$(winepath -w "$build/Quorvel.exe" 2>/dev/null)" \
  --photos 'C:\photos' --work 'C:\guitests' --fat F: --large H: --empty E: --removable R: --cdrom S: \
  "${ntfs_option[@]}" ${QUORVEL_GUI_ONLY:+--only "$QUORVEL_GUI_ONLY"} >"$gui_log" 2>&1
gui_status=$?
# The program's own diagnostic lines are in the log too; the scenario lines tell.
grep -E '^(RUN|PASS|FAIL|GUI tests:|screenshot)' "$gui_log"
# The folders the scans opened are still shown by wine's file browser.
wineserver -k 2>/dev/null
gui_line=$(grep -E '^GUI tests: [0-9]+ passed, [0-9]+ failed' "$gui_log" | tail -1)
gui_passed=$(echo "$gui_line" | sed -n 's/GUI tests: \([0-9]*\) passed.*/\1/p')
gui_failed=$(echo "$gui_line" | sed -n 's/.* \([0-9]*\) failed.*/\1/p')
gui_passed=${gui_passed:-0}
gui_failed=${gui_failed:-0}
if [ "$gui_status" -ne 0 ] && [ "$gui_failed" -eq 0 ]; then gui_failed=1; fi
count "$gui_passed" "$gui_failed"

finish
