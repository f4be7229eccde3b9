#!/bin/sh
# Runs the first (smallest) case of every benchmark family of every bench program of a build,
# each for as short a time as the library allows, so that a bench that no longer runs fails CI.
# The figures mean nothing here; run a program by hand to measure.
# Usage: bench/run_smallest.sh <build dir>
set -eu
build=${1:?build dir}
status=0
# A bench with a fixed number of rounds runs one.
export VEXO_BENCH_SMOKE=1
for program in "$build"/bin/bench_*; do
  [ -x "$program" ] || continue
  # A family is the name before its first '/'; the first case listed is its smallest.
  filter=$("$program" --benchmark_list_tests | awk -F/ '!seen[$1]++' |
           sed 's/[][\\.^$*+?(){}|]/\\&/g' | paste -sd'|')
  start=$(date +%s)
  if "$program" --benchmark_filter="^($filter)\$" --benchmark_min_time=0.000001 >"$program.log" 2>&1; then
    echo "$(basename "$program") $(( $(date +%s) - start ))s ok"
  else
    echo "$(basename "$program") FAILED:"; cat "$program.log"; status=1
  fi
done
exit $status
