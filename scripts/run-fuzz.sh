#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every fuzz target of a fuzz build for a number of seconds each.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
for f in "$build"/fuzz/fuzz_*; do
  [ -f "$f" ] && [ -x "$f" ] || continue
  name=$(basename "$f")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  seeds="fuzz/seeds/$name"
  args=("$corpus")
  [ -d "$seeds" ] && args+=("$seeds")
  echo "== $name ($seconds s)"
  "$f" -artifact_prefix="$build/" -max_total_time="$seconds" -print_final_stats=1 "${args[@]}" 2>&1 | tail -n 12
done
