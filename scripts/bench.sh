#!/usr/bin/env bash
# make bench: every benchmark, one after the other (they share the machine's two cores).
set -euo pipefail
build=${1:-build}
for b in "$build"/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
