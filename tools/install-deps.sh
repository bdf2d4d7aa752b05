#!/usr/bin/env bash
# Install the Debian packages that the build and every test need (Debian 12).
# Quick and silent when everything is already there; apt-get runs only for what is missing.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ make git
  # the layout check of the C++ files
  clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  # GoogleTest's sources, built for Windows for the Win32 integration tests
  googletest
  mingw-w64 g++-mingw-w64-x86-64
  # the second compiler: clang and lld, on the posix-threads mingw GCC's C++ library
  clang lld g++-mingw-w64-x86-64-posix
  # the check of the Windows workflow reads its YAML
  python3-yaml
  # end-to-end tests: Wine on a virtual display with a window manager, driven by xdotool
  wine wine64
  xvfb openbox xdotool xclip imagemagick hsetroot x11-utils
  # X extensions that Wine's display driver loads at run time (only recommended by wine)
  libxrandr2 libxrender1 libxcursor1 libxi6 libxinerama1 libxcomposite1 libxfixes3
  # several monitors: Xorg with the dummy video driver, laid out with xrandr (Xvfb cannot)
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils xcvt
  # the frame-timing client of the benchmarks: X DAMAGE on the root window, XTEST for its click
  libx11-dev libxdamage-dev libxfixes-dev libxtst-dev gcc
  # the program's Chinese texts render under Wine only with a CJK font present; the tests pin
  # Wine to these fonts (tests/e2e/fonts): DejaVu as the Latin default, WenQuanYi for Chinese,
  # and Droid Sans Fallback (no digits, no Latin letters) for the environment that apt's
  # recommends make, where the program must still choose faces that draw its texts
  fonts-dejavu-core fonts-wqy-microhei fonts-droid-fallback
  procps python3
)

missing=()
for pkg in "${packages[@]}"; do
  # "install ok installed" only: a removed package leaves a config-files status behind.
  if [ "$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null)" != "install ok installed" ]; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps: missing packages and no sudo; install as root: apt-get install ${missing[*]}" >&2
    exit 1
  fi
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
