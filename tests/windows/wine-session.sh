#!/usr/bin/env bash
# The Windows test programs' surroundings under Wine, kept in <build>/wine:
#   wine-session.sh start <build>   an X display (Xvfb) and a running wineserver,
#                                   with the Wine prefix made on first use
#   wine-session.sh stop <build>    ends both
#   wine-session.sh run <build> <program> [arguments...]
# The prefix (about 700 MB, some seconds to make) stays for later runs. It
# registers the fonts the display modules look up (Liberation Sans as Arial and
# under its own name) in the system's font registry, and lets no window be
# managed (there is no window manager).
set -euo pipefail

command=$1
state=$2/wine
shift 2
mkdir -p "$state"

export WINEPREFIX="$state/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

xvfb_running() { [ -s "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; }

use_display() {
  xvfb_running || { echo "wine-session: no display; run 'start' first" >&2; exit 1; }
  export DISPLAY=":$(cat "$state/display")"
}

register_fonts() {
  local fonts=/usr/share/fonts/truetype/liberation2 key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts'
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  local style file
  for style in Regular Bold Italic BoldItalic; do
    file=LiberationSans-$style.ttf
    cp "$fonts/$file" "$WINEPREFIX/drive_c/windows/Fonts/"
    local suffix=""
    case $style in Bold) suffix=" Bold" ;; Italic) suffix=" Italic" ;; BoldItalic) suffix=" Bold Italic" ;; esac
    "$wine" reg add "$key" /v "Arial$suffix (TrueType)" /t REG_SZ /d "$file" /f >/dev/null
    "$wine" reg add "$key" /v "Liberation Sans$suffix (TrueType)" /t REG_SZ /d "$file" /f >/dev/null
  done
}

case $command in
  start)
    if ! xvfb_running; then
      rm -f "$state/display"
      # -displayfd: Xvfb picks a free display and writes its number.
      # Its output goes to a file: what stays running must not hold the
      # caller's (CTest's) pipes open.
      Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$state/display" >"$state/xvfb.log" 2>&1 </dev/null &
      echo $! >"$state/xvfb.pid"
      for _ in $(seq 100); do
        [ -s "$state/display" ] && break
        xvfb_running || { cat "$state/xvfb.log" >&2; exit 1; }
        sleep 0.1
      done
      [ -s "$state/display" ] || { echo "wine-session: Xvfb gave no display" >&2; exit 1; }
    fi
    use_display
    # The wineserver and Wine's own service processes (services, the desktop)
    # are kept running until 'stop', so that each program starts quickly; they
    # are started here, away from the caller's pipes.
    {
      if [ ! -e "$WINEPREFIX/suite-ready" ]; then
        rm -rf "$WINEPREFIX"
        "$wine" wineboot --init
        register_fonts
        # No window manager runs on the display: Wine must not wait for one
        # (closing a managed window would wait for it, two seconds each).
        "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
        "$wineserver" --wait
        touch "$WINEPREFIX/suite-ready"
      fi
      "$wineserver" --persistent
      "$wine" wineboot
    } </dev/null >"$state/session.log" 2>&1 || { cat "$state/session.log" >&2; exit 1; }
    ;;
  stop)
    "$wineserver" --kill 2>/dev/null || true
    if xvfb_running; then kill "$(cat "$state/xvfb.pid")"; fi
    rm -f "$state/xvfb.pid" "$state/display"
    ;;
  run)
    use_display
    exec "$wine" "$@"
    ;;
  *)
    echo "usage: wine-session.sh start|stop|run <build> [program arguments...]" >&2
    exit 2
    ;;
esac
