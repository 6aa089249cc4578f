#!/usr/bin/env bash
# Start-up benchmark: whole-process wall time from launch to the first presented frame (a
# one-frame driver script, headless) and the peak resident memory, over several runs.
# Usage: tools/bench/startup.sh [build-folder] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-10}
driver="$build/quark-driver"
[ -x "$driver" ] || { echo "no $driver: build first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'wait 1\n' >"$work/one-frame.txt"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software XDG_DATA_HOME="$work/data"
# The first start also exports the language files; later starts find them up to date.
"$driver" "$work/one-frame.txt" 2>/dev/null
times=()
peak=0
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  /usr/bin/time -f '%M' -o "$work/mem" "$driver" "$work/one-frame.txt" 2>/dev/null
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000000 )))
  kb=$(tail -n1 "$work/mem")
  [ "$kb" -gt "$peak" ] && peak=$kb
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start to first frame: median ${sorted[$((runs / 2))]} ms, min ${sorted[0]} ms, max ${sorted[$((runs - 1))]} ms over $runs runs"
echo "peak resident memory: $((peak / 1024)) MiB"
