# Shared by the Windows test and screenshot scripts (sourced, not run): the
# mingw build, a fresh 32-bit wine prefix under build-mingw/, a private X
# display, and disk images mapped as drive letters.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build-mingw"
jobs=$(nproc)

# build_windows_programs: GoogleTest for mingw, then Quorvel.exe, quorvel.exe
# and the test programs in build-mingw/.
build_windows_programs() {
  local gtest_src=/usr/src/googletest
  if [ ! -f "$build/googletest/lib/cmake/GTest/GTestConfig.cmake" ]; then
    echo "--- GoogleTest for mingw"
    cmake -S "$gtest_src" -B "$build/googletest-build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$build/googletest" >/dev/null &&
      cmake --build "$build/googletest-build" -j"$jobs" --target install >/dev/null || return 1
  fi
  echo "--- mingw build"
  cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$build/googletest" >/dev/null &&
    cmake --build "$build" -j"$jobs"
}

# start_display: Xvfb on a free display number; sets DISPLAY and xvfb_pid.
start_display() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
      xdpyinfo >/dev/null 2>&1 && return 0
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "no X display could be started" >&2
  return 1
}

# new_wine_prefix DIR: a fresh 32-bit prefix with Chinese dialog fonts and no
# crash dialog. Needs DISPLAY.
new_wine_prefix() {
  export WINEPREFIX=$1 WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  cat >"$WINEPREFIX/quorvel-settings.reg" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"MS Shell Dlg"="WenQuanYi Micro Hei"
"MS Shell Dlg 2"="WenQuanYi Micro Hei"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
  wine regedit "$WINEPREFIX/quorvel-settings.reg" >/dev/null 2>&1
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  wineserver -w
}

# map_drive LETTER IMAGE [TYPE]: the image (inside its own folder) as drive
# LETTER; TYPE sets the drive type (hd, floppy, cdrom). A folder instead of
# an image maps just the folder.
map_drive() {
  local letter=$1 target=$2 type=${3:-}
  if [ -d "$target" ]; then
    ln -sfn "$target" "$WINEPREFIX/dosdevices/$letter:"
  else
    ln -sfn "$(dirname "$target")" "$WINEPREFIX/dosdevices/$letter:"
    ln -sfn "$target" "$WINEPREFIX/dosdevices/$letter::"
  fi
  if [ -n "$type" ]; then
    wine reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /d "$type" /f >/dev/null 2>&1
  fi
}

# FAT32 and NTFS images holding deleted photos.
# make_fat32_image IMAGE SIZE [PHOTO...]
make_fat32_image() {
  local image=$1 size=$2; shift 2
  mkdir -p "$(dirname "$image")"
  rm -f "$image"
  truncate -s "$size" "$image"
  mkfs.fat -F 32 "$image" >/dev/null
  if [ $# -gt 0 ]; then
    MTOOLS_SKIP_CHECK=1 mcopy -i "$image" "$@" ::/
    MTOOLS_SKIP_CHECK=1 mdel -i "$image" '::/*.jpg'
  fi
}

# make_ntfs_image IMAGE SIZE PHOTO...: fails when NTFS cannot be mounted here.
make_ntfs_image() {
  local image=$1 size=$2; shift 2
  local mnt
  mkdir -p "$(dirname "$image")"
  rm -f "$image"
  truncate -s "$size" "$image"
  mkntfs -F -Q "$image" >/dev/null 2>&1 || return 1
  mnt=$(mktemp -d)
  if ! ntfs-3g "$image" "$mnt" 2>/dev/null; then rmdir "$mnt"; return 1; fi
  cp "$@" "$mnt"/ && sync && rm -f "$mnt"/*.jpg
  umount "$mnt"
  rmdir "$mnt"
}
