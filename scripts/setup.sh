#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Safe to run again: packages already present are left as they are.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev
  libsqlite3-dev sqlite3
  nlohmann-json3-dev
  libedit-dev libcli11-dev less
  fonts-liberation fontconfig
  fonts-wine qt6-translations-l10n
  xvfb xauth poppler-utils
  openbox xdotool x11-utils libx11-dev libxcb1-dev libxtst-dev
  # packaging: building, checking and installing the Debian packages
  dpkg-dev file lintian librsvg2-bin desktop-file-utils xdg-utils libfile-mimeinfo-perl shared-mime-info
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
