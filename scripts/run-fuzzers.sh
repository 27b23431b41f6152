#!/usr/bin/env bash
# Runs the libFuzzer targets built in <build>/fuzz/ for a fixed time each:
#   run-fuzzers.sh <build> <seconds per target> [target ...]   (default: every target)
# Each target starts from its seed corpus in fuzz/corpus/<target>/ (only read)
# and keeps what it finds in <build>/fuzz-corpus/<target>/. A failing input is
# written to <build>/fuzz-runs/ beside each target's log, and the script fails
# after running the rest.
set -euo pipefail
build=${1:?usage: $0 <build> <seconds> [target ...]}
seconds=${2:?usage: $0 <build> <seconds> [target ...]}
shift 2
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ $# -eq 0 ]; then
  set -- $(ls "$root/fuzz/corpus")
fi
mkdir -p "$build/fuzz-runs"
failed=()
for target in "$@"; do
  work="$build/fuzz-corpus/$target"
  mkdir -p "$work"
  echo "== fuzz_$target for ${seconds} s"
  # -timeout: one input taking seconds is a failure (a hang or quadratic time).
  if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
      "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$build/fuzz-runs/$target-" \
      "$work" "$root/fuzz/corpus/$target" >"$build/fuzz-runs/$target.log" 2>&1; then
    tail -n 40 "$build/fuzz-runs/$target.log"
    failed+=("$target")
  else
    grep -E '^stat::number_of_executed_runs|^#[0-9]+.*DONE' "$build/fuzz-runs/$target.log" | tail -n 2 || true
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz targets failed: ${failed[*]} (inputs in $build/fuzz-runs/)" >&2
  exit 1
fi
