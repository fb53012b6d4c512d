#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the program from its build folder (`make run`).
set -euo pipefail
build=${1:-build}
exe="$build/fondaro"
if [ ! -x "$exe" ]; then
  echo "run: $exe is missing; build it first with: make build BUILD=$build" >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "run: no display (DISPLAY is not set), so the windows cannot be shown; run it under a virtual display with: xvfb-run -a -s \"-screen 0 1280x1024x24\" $exe" >&2
  exit 1
fi
exec "$exe"
