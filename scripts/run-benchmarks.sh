#!/usr/bin/env bash
# Runs every benchmark executable of a benchmark build; each prints BENCH lines.
set -euo pipefail
dir="$1/bench"
status=0
for b in "$dir"/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" || status=1
done
exit $status
