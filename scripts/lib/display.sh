# shellcheck shell=bash
# A private virtual X display. start_xvfb exports DISPLAY; stop_xvfb ends it.
# Needs wait.sh.

WINSCOUT_XVFB_PID=
WINSCOUT_XVFB_FILE=

start_xvfb() {
  WINSCOUT_XVFB_FILE=$(mktemp)
  # -displayfd lets the server pick a free display number itself and report it
  # once it listens, so that two runs never race for the same number.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    3>"$WINSCOUT_XVFB_FILE" >/dev/null 2>&1 &
  WINSCOUT_XVFB_PID=$!
  wait_until 30 "Xvfb to report its display" _xvfb_reported || return 1
  DISPLAY=":$(tr -d '[:space:]' <"$WINSCOUT_XVFB_FILE")"
  export DISPLAY
  wait_until 30 "display $DISPLAY to answer" xdpyinfo -display "$DISPLAY" >/dev/null 2>&1
}

_xvfb_reported() {
  if ! kill -0 "$WINSCOUT_XVFB_PID" 2>/dev/null; then
    echo "Xvfb exited" >&2
    return 2
  fi
  grep -q '[0-9]' "$WINSCOUT_XVFB_FILE"
}

stop_xvfb() {
  if [[ -n $WINSCOUT_XVFB_PID ]]; then
    kill "$WINSCOUT_XVFB_PID" 2>/dev/null || true
    wait "$WINSCOUT_XVFB_PID" 2>/dev/null || true
    WINSCOUT_XVFB_PID=
  fi
  if [[ -n $WINSCOUT_XVFB_FILE ]]; then
    rm -f "$WINSCOUT_XVFB_FILE"
    WINSCOUT_XVFB_FILE=
  fi
}
