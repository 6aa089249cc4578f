#!/usr/bin/env bash
# The full fuzz campaign: every target until 10 M executions or one hour, whichever comes first,
# starting from the kept corpora, new inputs into a scratch folder. Not part of the test run.
#   tools/fuzz/campaign.sh [BUILD_DIR] [WORK_DIR] [JOBS] [TARGET...]
# BUILD_DIR holds the clang build (see tools/fuzz/CMakeLists.txt), default build-fuzz; WORK_DIR
# the scratch corpora and logs, default fuzz-work; JOBS how many targets run at once, default 2.
# Prints one line per target: executions, seconds, executions per second, findings.
set -u
cd "$(dirname "$0")/../.."
build=${1:-build-fuzz}
work=${2:-fuzz-work}
jobs=${3:-2}
shift $(( $# < 3 ? $# : 3 ))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(profile language undo best_scores picture language_scan)
runs=${FUZZ_RUNS:-10000000}
seconds=${FUZZ_SECONDS:-3600}

run_one() {
  local name=$1 dir="$work/$1" start end
  mkdir -p "$dir" "$work/findings-$name"
  start=$(date +%s)
  # Findings land in their own folder so a rerun can count them.
  nice -n 10 "$build/quark-fuzz-$name" -runs="$runs" -max_total_time="$seconds" -close_fd_mask=2 \
    -print_final_stats=1 -artifact_prefix="$work/findings-$name/" "$dir" "tools/fuzz/corpus/$name" \
    > "$work/$name.log" 2>&1
  local rc=$?
  end=$(date +%s)
  local execs
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$name.log")
  # A crash, leak, timeout or running out of memory is a finding. An input that took more than
  # 10 s is only noted: a fuzzer stopped (SIGSTOP) or starved of the processor reports whatever
  # it was running then; rerun it alone to tell.
  local found slow
  found=$(find "$work/findings-$name" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
  slow=$(find "$work/findings-$name" -type f -name 'slow-unit-*' | wc -l)
  printf '%-14s rc=%d executions=%s seconds=%d per_second=%d findings=%d slow_units=%d\n' "$name" "$rc" \
    "${execs:-?}" $((end - start)) $(( ${execs:-0} / ((end - start) > 0 ? (end - start) : 1) )) \
    "$found" "$slow" >> "$work/summary.txt"
}

mkdir -p "$work"
: > "$work/summary.txt"
running=0
for name in "${targets[@]}"; do
  if [ ! -x "$build/quark-fuzz-$name" ]; then
    echo "$name: $build/quark-fuzz-$name is not built" >> "$work/summary.txt"
    continue
  fi
  run_one "$name" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n
    running=$((running - 1))
  fi
done
wait
cat "$work/summary.txt"
