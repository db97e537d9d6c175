# shellcheck shell=bash
# A private Wine prefix and one persistent wineserver for a whole run, so that
# each Windows program starts in well under a second. Needs wait.sh and a
# DISPLAY.
#
#   use_wine_prefix DIR   exports the Wine environment for the prefix DIR
#   prepare_wine_prefix   creates the prefix once; later runs reuse it
#   start_wineserver      prepares the prefix if need be and starts its server
#   start_wine_session    starts the session's system processes
#   no_window_manager     tells the prefix's programs that the display has none
#   stop_wine             ends every Wine process of the prefix

WINSCOUT_WINESERVER_PID=

use_wine_prefix() {
  export WINEPREFIX=$1
  export WINEARCH=win64
  export WINEDEBUG=-all
  # No prompts to install Mono or Gecko.
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

# A prefix is only reused once it was set up to the end.
_wine_ready_marker() { echo "$WINEPREFIX/.winscout-ready"; }

# The first session of a new prefix keeps restarting services for a while
# (two services.exe, Wine 8.0), and programs started in it take seconds longer
# to exit. So the prefix is made with a server of its own, which is let run
# down before the run's server starts a clean session.
prepare_wine_prefix() {
  [[ -f $(_wine_ready_marker) ]] && return 0
  rm -rf "$WINEPREFIX"
  wineboot --init &&
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      >/dev/null &&
    _link_wine_fonts &&
    wineserver -w &&
    touch "$(_wine_ready_marker)"
}

# Debian's Wine looks for its own fonts (Tahoma, and Marlett for the caption
# buttons) in a folder that does not resolve; the prefix's Fonts folder is
# searched too.
_link_wine_fonts() {
  ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
}

# Wine clients find the server through a socket named after the prefix's
# device and inode, in /tmp/.wine-UID or, with Debian's Wine, in a private
# directory of /tmp whose name the server writes into the prefix.
_wineserver_socket() {
  local dev inode dir
  read -r dev inode < <(stat -c '%d %i' "$WINEPREFIX")
  dir=/tmp/.wine-$(id -u)
  [[ -s $WINEPREFIX/wineserver ]] && dir=/tmp/$(<"$WINEPREFIX/wineserver")
  printf '%s/server-%x-%x/socket' "$dir" "$dev" "$inode"
}

_wineserver_listening() {
  if ! kill -0 "$WINSCOUT_WINESERVER_PID" 2>/dev/null; then
    echo "wineserver exited" >&2
    return 2
  fi
  [[ -S $(_wineserver_socket) ]]
}

start_wineserver() {
  prepare_wine_prefix || return 1
  # In the foreground so that its process id is ours to wait for.
  wineserver -f -p &
  WINSCOUT_WINESERVER_PID=$!
  wait_until 30 "wineserver to listen" _wineserver_listening
}

# The system processes (services.exe and the rest) live as long as the server.
# Whoever starts them hands them its standard error, so they are started here,
# with this function's output, and not by the first test program: CTest would
# wait for them to let go of its pipe.
start_wine_session() { wineboot; }

# A display of the tests has no window manager, and Wine is told so: else it
# waits for one at every captioned window it hides or closes (two seconds each
# without one), which Windows never does. Not for a user's display: there a
# window manager moves and decorates the windows.
no_window_manager() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
}

_wineserver_gone() { ! kill -0 "$WINSCOUT_WINESERVER_PID" 2>/dev/null; }

# Also ends a prefix preparation that is still running.
stop_wine() {
  [[ -d ${WINEPREFIX:-} ]] && wineserver -k 2>/dev/null
  [[ -n $WINSCOUT_WINESERVER_PID ]] || return 0
  if ! wait_until 30 "wineserver to stop" _wineserver_gone; then
    kill "$WINSCOUT_WINESERVER_PID" 2>/dev/null
  fi
  wait "$WINSCOUT_WINESERVER_PID" 2>/dev/null
  WINSCOUT_WINESERVER_PID=
}
