#!/usr/bin/env bash
# Installs the Debian packages Mernolex needs to build, test and run.
# Idempotent: when every package is already installed it only asks dpkg and returns.
set -euo pipefail

PACKAGES=(
  # compiler tools and test libraries
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev
  # the XML parser of the word-list import
  libxml2-dev
  # window system, painting, keyboard layouts, fonts
  libgtk-3-dev libxkbcommon-dev libfontconfig-dev librsvg2-common xkb-data
  fonts-dejavu-core fonts-noto-core
  # speech: the synthesiser and its voices, the sound server's client and ALSA
  libespeak-ng-dev espeak-ng-data libpulse-dev libasound2-dev
  # end-to-end tests under a virtual X server
  xvfb xauth xdotool imagemagick x11-xkb-utils x11-utils xclip
  # the check of the installed desktop entry: its validator, and GLib's launcher (gio)
  desktop-file-utils libglib2.0-bin
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
  echo "setup: missing packages: ${missing[*]}" >&2
  echo "setup: run this script as root to install them" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
