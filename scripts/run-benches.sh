#!/usr/bin/env bash
# Runs every benchmark binary of a build folder.
set -euo pipefail
build=${1:-build}
for b in "$build"/bench/*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_counters_tabular=true
done
