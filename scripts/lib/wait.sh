# shellcheck shell=bash
# Polling instead of fixed sleeps: wait_until SECONDS WHAT COMMAND...
# The command answers 0 when the wait is over and 1 while it is not yet; any
# other status means it never will be, and the wait fails at once.

wait_until() {
  local seconds=$1 what=$2 status
  shift 2
  local deadline=$((SECONDS + seconds))
  while true; do
    status=0
    "$@" || status=$?
    ((status == 0)) && return 0
    if ((status != 1)); then
      echo "gave up waiting for ${what}" >&2
      return 1
    fi
    if ((SECONDS >= deadline)); then
      echo "timed out after ${seconds}s waiting for ${what}" >&2
      return 1
    fi
    sleep 0.1
  done
}
