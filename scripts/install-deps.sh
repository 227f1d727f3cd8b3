#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test Voltwise;
# with the argument "packaging" also those that make and check its Debian
# package. Installs only what is missing, so a second run is quick.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
  libqt6opengl6-dev qt6-charts-dev qt6-httpserver-dev qt6-websockets-dev
  qt6-svg-dev
  # lupdate and lrelease, the CMake functions that run them, Qt's own Spanish
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
  qcoro-qt6-dev libbenchmark-dev
  libgl-dev libxkbcommon-dev
  fonts-dejavu-core
  dbus dbus-bin xvfb xauth trayer x11-utils xdotool curl scrot valgrind
  desktop-file-utils appstream man-db
  clang-14 libclang-rt-14-dev clang-format
  libcanberra-dev libcanberra-pulse
  qt6-wayland sway grim dunst
)
if [ "${1:-}" = packaging ]; then
  packages+=(dpkg-dev file lintian)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "install-deps: these Debian packages are missing: ${missing[*]}" >&2
      echo "install-deps: run this script as root, or install sudo, to install them" >&2
      exit 1
    fi
    sudo="sudo"
  fi
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
