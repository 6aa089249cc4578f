#!/usr/bin/env bash
# Where the memory goes: the game on a private X server without GPU (Xvfb), its resident memory
# 3 s after launch on the main menu, split by mapping from /proc/PID/smaps.
# Usage: tools/bench/memory.sh [build-folder] [VAR=value...]; the assignments go into the game's
# environment, e.g. SDL_RENDER_DRIVER=software.
set -euo pipefail
build=${1:-build}
shift || true
game="$build/quark"
[ -x "$game" ] || { echo "no $game: build first" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "no Xvfb (Debian package xvfb)" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid="" game_pid=""
cleanup() {
  if [ -n "$game_pid" ]; then kill -9 "$game_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
unset SDL_VIDEODRIVER SDL_RENDER_DRIVER
export DISPLAY=":$(head -n1 "$work/display")" XDG_DATA_HOME="$work/data" SDL_AUDIODRIVER=dummy
# A profile naming a language, so the game starts on the main menu; the first run also exports
# the language files, which later starts find up to date.
mkdir -p "$work/data/qUaRk"
printf '"Language" = "qUaRk_text_EN.txt"\r\n' >"$work/data/qUaRk/qUaRk_User_Profile.txt"
run_for() {
  env "${@:2}" "$game" >/dev/null 2>&1 &
  game_pid=$!
  sleep "$1"
}
run_for 2 "$@"
kill -9 "$game_pid"
wait "$game_pid" 2>/dev/null || true
run_for 3 "$@"
cp "/proc/$game_pid/smaps" "$work/smaps"
kill -9 "$game_pid"
wait "$game_pid" 2>/dev/null || true
game_pid=""

awk -v exe="$(readlink -f "$game")" '
  /^[0-9a-f]+-[0-9a-f]+ / {
    name = NF >= 6 ? $6 : "[anon]"
    if (name == "[heap]") kind = "heap (malloc)"
    else if (name == exe) kind = "the executable and the embedded data it touched"
    else if (name ~ /^\/SYSV/ || $0 ~ /SYSV/) kind = "X shared memory (the window framebuffer)"
    else if (name ~ /(libLLVM|_dri\.so|libGL|libEGL|libglapi)/) kind = "GL drivers (Mesa, LLVM)"
    else if (name ~ /\.so/) kind = "other shared libraries"
    else kind = "other anonymous memory (thread stacks, SDL, mixer)"
    next
  }
  /^Rss:/ { kb[kind] += $2; total += $2 }
  END {
    for (k in kb) printf "%7.1f MB  %s\n", kb[k] / 1024, k | "sort -rn"
    close("sort -rn")
    printf "%7.1f MB  resident in all\n", total / 1024
  }' "$work/smaps"
