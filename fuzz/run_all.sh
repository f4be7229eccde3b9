#!/bin/sh
# Runs every fuzz target of a fuzz build with its seeds, `jobs` at a time, for
# VEXO_FUZZ_SECONDS each (default 300), and prints one line per run:
#   target, seconds, executions, result (ok, or the input that made it fail).
# It fails when a target failed.
# Each input may be as long as the target's -max_len and take as long as its -timeout.
# Usage: fuzz/run_all.sh <build dir> [jobs] [target...]   (no target: every one)
set -eu
if [ "${1:-}" = --one ]; then
  build=$2 name=$3 program=$4 seeds=$5 dict=$6 maxlen=$7 timeout=$8 long=$9
  found="$build/fuzz/corpus/$name" crashes="$build/fuzz/crashes/$name" log="$build/fuzz/logs/$name.log"
  mkdir -p "$found" "$crashes" "$build/fuzz/logs"
  set -- -max_total_time="${VEXO_FUZZ_SECONDS:-300}" -max_len="$maxlen" -timeout="$timeout" \
    -print_final_stats=1 -artifact_prefix="$crashes/"
  [ "$dict" = - ] || set -- "$@" -dict="$dict"
  start=$(date +%s)
  status=0
  if "$program" "$@" "$found" "$seeds" "$long" >"$log" 2>&1; then result=ok; else
    result="FAILED $(ls "$crashes" | head -1) (log: $log)" status=1
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "$name $(( $(date +%s) - start ))s ${execs:-?} $result"
  exit $status
fi
build=${1:?build dir}
jobs=${2:-4}
shift $(($# < 2 ? $# : 2))
wanted=" $* "
cmake --build "$build" -j"$(nproc)" --target $(cut -d' ' -f1 "$build/fuzz/targets.txt") >/dev/null
while read -r name program seeds dict maxlen timeout long; do
  case "$wanted" in "  " | *" $name "*) ;; *) continue ;; esac
  echo "$build" "$name" "$program" "$seeds" "$dict" "$maxlen" "$timeout" "$long"
done <"$build/fuzz/targets.txt" | xargs -P "$jobs" -L 1 "$0" --one
