# shellcheck shell=bash
# The Debian packages that building and testing WinScout needs, installed
# where missing.

WINSCOUT_PACKAGES=(
  g++ g++-mingw-w64-x86-64-posix mingw-w64-tools clang lld llvm
  wine wine64 fonts-wine
  xvfb xdotool x11-utils imagemagick
  cmake ninja-build libgtest-dev googletest libbenchmark-dev
  python3 python3-yaml mono-mcs zopfli
)

ensure_packages() {
  local missing=() package
  for package in "${WINSCOUT_PACKAGES[@]}"; do
    if [[ "$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null)" != installed ]]; then
      missing+=("$package")
    fi
  done
  ((${#missing[@]} == 0)) && return 0
  if ((EUID != 0)); then
    echo "missing packages: ${missing[*]} (run as root to install them)" >&2
    return 1
  fi
  echo "installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
}
