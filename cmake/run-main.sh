#!/bin/bash
# Starts the system's main program from dist/ under Wine.
# With a display it runs there until you close it. Without one it runs on a
# virtual display inside Wine's desktop window, saves a screenshot to
# build/screenshot.png and closes the program after a few seconds.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="$here/build/run-wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
mkdir -p "$here/build"
# Make the prefix once, quietly.
[ -d "$WINEPREFIX" ] || "$wine" wineboot </dev/null >/dev/null 2>&1

if [ -n "$DISPLAY" ]; then
  cd "$here/dist" && exec "$wine" Cuebinder.exe
fi

echo "No display: running Cuebinder.exe on a virtual display for a few seconds."
shot="$here/build/screenshot.png"
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '
  cd "'"$here"'/dist"
  "'"$wine"'" explorer /desktop=cuebinder,1000x740 Cuebinder.exe </dev/null >/dev/null 2>&1 &
  sleep 6
  # At first start there is no game directory yet and the program says so;
  # answer that notice so the screenshot shows the main window.
  xdotool key Return 2>/dev/null
  sleep 2
  import -window root "'"$shot"'"
  /usr/lib/wine/wineserver -k
  wait
'
echo "Screenshot saved to $shot"
