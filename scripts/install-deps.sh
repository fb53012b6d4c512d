#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian 12 package needed to build, run and test Fondaro.
# Idempotent: when everything is present it returns at once without touching apt.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config python3
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev libofx-dev
  libssl-dev libquazip1-qt6-dev openssl
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-utils xdotool imagemagick poppler-utils
  fonts-dejavu fonts-liberation2 fonts-wine fontconfig
  cups printer-driver-cups-pdf
  libreoffice-calc-nogui
  dpkg-dev debhelper devscripts ccache desktop-file-utils appstream lintian man-db groff-base
  shared-mime-info xdg-utils libfile-mimeinfo-perl
)
if [ "${FONDARO_FUZZ:-0}" = 1 ]; then
  PACKAGES+=(clang libclang-rt-dev)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
# A mirror can fail for a moment on a fresh machine: try a few times.
for attempt in 1 2 3; do
  if $SUDO apt-get update -q && \
     $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null; then
    exit 0
  fi
  echo "apt-get failed (attempt $attempt); retrying" >&2
  sleep $((attempt * 10))
done
exit 1
