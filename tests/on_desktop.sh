#!/usr/bin/env bash
# Runs a Windows test on the desktop that CTest gave it (see
# cmake/desktop_tests.cmake): CTest names the desktop in
# CTEST_RESOURCE_GROUP_0_DESKTOPS ("id:N,slots:1"), and scripts/test wrote
# that desktop's DISPLAY and WINEPREFIX to $WINSCOUT_DESKTOPS/N.env. Without
# them the test runs on the environment's desktop.
set -euo pipefail
if [[ -n ${WINSCOUT_DESKTOPS:-} && ${CTEST_RESOURCE_GROUP_0_DESKTOPS:-} =~ ^id:([a-z0-9_]+), ]]; then
  # shellcheck source=/dev/null
  source "$WINSCOUT_DESKTOPS/${BASH_REMATCH[1]}.env"
fi
exec "$@"
