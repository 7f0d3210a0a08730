#!/bin/bash
# Runs each program and each plug-in's settings panel under Wine on a virtual
# X display and saves a picture of it in OUT_DIR (default docs/screenshots/):
#   cuebinder.png, cuebinder-about.png, cuebinder-options.png, auxiliary.png
#   and panel-<Plugin>.png (each plug-in's panel) at 96 dpi, and each of them
#   again at 144 dpi (LogPixels) as <name>-144dpi.png
# Each program runs inside Wine's virtual desktop, which draws title bars and
# frames; the picture is cut to what differs from the desktop's background.
# Usage: screenshots.sh [BUILD_DIR [OUT_DIR]]
# CB_SCREENSHOTS_ONLY: a regular expression; only the pictures whose names
# match it are taken.
set -u
only=${CB_SCREENSHOTS_ONLY:-}
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build/windows}" && pwd)
out=${2:-$here/docs/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
work="$build/screenshots"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

if [ -z "${CB_SCREENSHOTS_DISPLAY:-}" ]; then
  # Everything below runs on one virtual display of its own.
  export CB_SCREENSHOTS_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1536x1152x24 -nolisten tcp" "$0" "$build" "$out"
fi

# Wine's own fonts folder: marlett.ttf draws the title bars' buttons, and
# tahoma.ttf and the bitmap faces (sserife.fon is "MS Sans Serif") are the
# faces the windows and panels ask for. This Wine finds its data folder as
# <loader>/../../share/wine and looks for its fonts through that path; the
# ".." in it keeps the lookup from ever reaching the folder, so a fresh prefix
# has none of them: the caption buttons come out as the letters "0 1 r" and
# every text in a wider stand-in face. A font in the prefix's
# C:\windows\Fonts is loaded at every start, so the prefix gets a copy of all
# of Wine's fonts there, and the pictures show the faces Windows has.
wine_fonts() {
  local d
  for d in "$(dirname "$(readlink -f "$wine")")/../../share/wine/fonts" /usr/share/wine/fonts \
    /usr/lib/wine/../../share/wine/fonts; do
    [ -f "$d/marlett.ttf" ] && { (cd "$d" && pwd); return 0; }
  done
  return 1
}

# A prefix per DPI, made once; LogPixels is where Wine reads the screen's DPI.
prefix_for() {
  local dpi=$1
  export WINEPREFIX="$work/prefix-$dpi"
  if [ ! -f "$WINEPREFIX/.dpi-$dpi" ]; then
    "$wine" wineboot </dev/null >"$work/wineboot-$dpi.log" 2>&1
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    "$wine" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
      /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    "$wineserver" -w
    touch "$WINEPREFIX/.dpi-$dpi"
  fi
  if [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/sserife.fon" ]; then
    if fonts=$(wine_fonts); then
      cp "$fonts"/*.ttf "$fonts"/*.fon "$WINEPREFIX/drive_c/windows/Fonts/"
    else
      echo "screenshots.sh: Wine's fonts not found; title bar buttons show as letters" >&2
    fi
  fi
}

# The desktop ($desktop pixels at the screen's top left) cut to what differs
# from its background (the corner's colour), into $1.
capture() {
  import -window root -crop "$desktop+0+0" +repage "$work/full.png"
  convert "$work/full.png" -trim +repage "$1" 2>/dev/null
}

# Waits (up to a minute) until a window shows on the desktop.
wait_for_window() {
  for _ in $(seq 60); do
    capture "$work/probe.png"
    local size
    size=$(identify -format '%w %h' "$work/probe.png" 2>/dev/null)
    [ "${size%% *}" -gt 40 ] 2>/dev/null && [ "${size##* }" -gt 40 ] && return 0
    sleep 1
  done
  echo "screenshots.sh: no window appeared" >&2
  return 1
}

# shot NAME DPI KEYS... -- PROGRAM ARGS...: starts the program in a fresh
# copy of dist/ on a desktop sized for the DPI, waits for its window, presses
# the keys (xdotool names), and saves NAME.png.
shot() {
  local name=$1 dpi=$2
  shift 2
  local keys=()
  while [ "$1" != "--" ]; do keys+=("$1"); shift; done
  shift
  [[ -n "$only" && ! "$name" =~ $only ]] && return 0
  prefix_for "$dpi"
  desktop=1024x768
  [ "$dpi" -gt 96 ] && desktop=1536x1152
  rm -rf "$work/run" && cp -r "$build/dist" "$work/run"
  (cd "$work/run" && "$wine" explorer /desktop=shot,$desktop "$@" </dev/null >/dev/null 2>&1 &)
  if wait_for_window; then
    for k in "${keys[@]}"; do
      sleep 2
      xdotool key "$k" 2>/dev/null
    done
    sleep 3
    capture "$out/$name.png" && echo "$out/$name.png"
  fi
  "$wineserver" -k
  "$wineserver" -w
}

mkdir -p "$work"
# Cuebinder says at its first start that no game directory is set: Return
# answers that notice; F1 opens the About window.
shot cuebinder 96 Return -- Cuebinder.exe
shot cuebinder-about 96 Return F1 -- Cuebinder.exe
shot cuebinder-144dpi 144 Return -- Cuebinder.exe
shot cuebinder-about-144dpi 144 Return F1 -- Cuebinder.exe
# Ctrl+P opens the Options window.
shot cuebinder-options 96 Return ctrl+p -- Cuebinder.exe
shot cuebinder-options-144dpi 144 Return ctrl+p -- Cuebinder.exe
shot auxiliary 96 -- Auxiliary.exe
shot auxiliary-144dpi 144 -- Auxiliary.exe
for dll in "$build"/dist/*.dll; do
  plugin=$(basename "$dll" .dll)
  shot "panel-$plugin" 96 -- tools/dsphost.exe --panel "$plugin.dll" --close-after 20
  shot "panel-$plugin-144dpi" 144 -- tools/dsphost.exe --panel "$plugin.dll" --close-after 20
done
