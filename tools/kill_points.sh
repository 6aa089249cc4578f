#!/usr/bin/env bash
# Kills a scripted winning session of level 1 at every system call that touches a player file
# (with strace's fault injection: SIGKILL as the call is entered), then checks what the kill
# left and what the next start makes of it:
#   - every file is old or new: the profile and the best scores are the ones from before the
#     session or the ones an unkilled session leaves, the undo history is a prefix of the whole
#     game's history, and the win's entry (qUaRk_Win.bin) holds the winning move's or the win's
#     own time;
#   - no win is lost: once the win's entry or the record reached the disk, the next start has
#     the record;
#   - no time is faked: that record holds the time the win was won in, entered once, and Enter
#     on the next start never wins the empty board a second time.
# Not part of the test suite: it runs the game a few hundred times (minutes).
#
#   tools/kill_points.sh [BUILD_DIR]      (default build; needs strace: tools/install-deps.sh strace)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
driver="$build/quark-driver"
[ -x "$driver" ] || { echo "no $driver" >&2; exit 2; }
command -v strace >/dev/null || { echo "strace is missing: tools/install-deps.sh strace" >&2; exit 2; }
source_dir=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/quark-kill-XXXXXX)
trap 'rm -rf "$work"' EXIT

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software

# Level 1 by its shipped solution, dragged with the mouse on a 32-pixel board.
read -r _ _ _ _ moves < <(head -1 "$source_dir/Data/full2.solutions.txt")
centre() { echo $(($1 * 32 + 16)) $(($2 * 32 + 16)); }
play() {
  echo "wait 1"; echo "level 1"; echo "wait 2"; echo "sleep 20000"
  for m in ${moves%%#*}; do
    local x=${m:0:1} y=${m:1:1} d=${m:2:1} dx=0 dy=0
    case $d in R) dx=1 ;; L) dx=-1 ;; D) dy=1 ;; U) dy=-1 ;; esac
    echo "move $(centre "$x" "$y")"; echo "press 1"; echo "wait 1"
    [ "$d" != G ] && echo "move $(centre $((x + dx)) $((y + dy)))"
    echo "wait 1"; echo "release 1"; echo "wait 1"
  done
}
play > "$work/to_the_winning_move.txt"
{ play; echo "wait 400"; echo "state $work/won"; echo "close"; echo "wait 1"; } > "$work/session.txt"
printf 'wait 2\nstate %s/start\nkey Return\nwait 2\nstate %s/after\nclose\nwait 1\n' "$work" "$work" > "$work/next_start.txt"

# The player's folder before the session: exported files, and a profile naming English whose
# current level is level 1 at 5 seconds (the clock of a quit before this session).
fresh_folder() {
  rm -rf "$work/data"; mkdir -p "$work/data/qUaRk"
  cp -a "$work/template/." "$work/data/qUaRk/"
}
run() { (cd "$work" && XDG_DATA_HOME="$work/data" "$@" >/dev/null 2>"$work/stderr.txt"); }
mkdir -p "$work/data/qUaRk"
run "$driver" /dev/stdin <<< "wait 1"
printf '"Version" = "F1.4.0"\r\n"Language" = "qUaRk_text_EN.txt"\r\n"Resolution X" = 384\r\n"Resolution Y" = 256\r\n"Block Size" = 32\r\n"Current Level Info" = 39846280\r\n' \
  > "$work/data/qUaRk/qUaRk_User_Profile.txt"
cp -a "$work/data/qUaRk" "$work/template"
user="$work/data/qUaRk"
profile_before=$(cat "$user/qUaRk_User_Profile.txt")

# Reference runs: the whole game's history and the winning move's entry, then what an
# unkilled session leaves.
fresh_folder
run "$driver" "$work/to_the_winning_move.txt"
cp "$user/qUaRk_Undo.bin" "$work/history.bin"
# (A build from before wins were kept there has none: the figures then show what it loses.)
cp "$user/qUaRk_Win.bin" "$work/win_move.bin" 2>/dev/null || : > "$work/win_move.bin"
fresh_folder
run "$driver" "$work/session.txt"
cp "$user/qUaRk_User_Profile.txt" "$work/profile_after"
cp "$user/qUaRk_Best_Scores.bin" "$work/scores_after"
final_ms=$(sed -n 's/^Level_Final_Time = //p' "$work/won")

u16() { od -An -tu2 -j "$2" -N 2 "$1" | tr -d ' '; }
i32() { od -An -td4 -j "$2" -N 4 "$1" | tr -d ' '; }
move_ms=$(i32 "$work/win_move.bin" 4 2>/dev/null || true)
echo "winning move at ${move_ms} ms, the win entered at ${final_ms} ms"

# Every call of the session on a player file, numbered per system call as strace counts them.
paths=()
for f in qUaRk_User_Profile.txt qUaRk_Undo.bin qUaRk_Best_Scores.bin qUaRk_Win.bin; do
  paths+=(-P "$user/$f" -P "$user/${f}_t")
done
paths+=(-P "$user")
fresh_folder
(cd "$work" && XDG_DATA_HOME="$work/data" strace -f -qq -o "$work/calls.txt" "${paths[@]}" "$driver" "$work/session.txt" >/dev/null 2>&1)
mapfile -t points < <(sed -E 's/^[0-9]+ +//; s/\(.*//' "$work/calls.txt" | awk '{n[$1]++; print $1 ":" n[$1]}')
echo "${#points[@]} player-file calls: $(sed -E 's/^[0-9]+ +//; s/\(.*//' "$work/calls.txt" | sort | uniq -c | awk '{printf "%s %s, ", $2, $1}')"

failures=0 killed=0 lost=0 from_entry=0 from_scores=0 not_won=0
fail() { echo "kill at $1: $2"; failures=$((failures + 1)); }
for point in "${points[@]}"; do
  call=${point%%:*} nth=${point##*:}
  fresh_folder
  rm -f "$work/won" "$work/start" "$work/after"
  status=0
  # Two shells deep, so the one that sees the kill reports it to /dev/null.
  ( (cd "$work" && XDG_DATA_HOME="$work/data" strace -f -qq -o /dev/null "${paths[@]}" \
     -e inject="$call":signal=KILL:when="$nth" "$driver" "$work/session.txt" >/dev/null 2>&1) ) 2>/dev/null || status=$?
  [ "$status" = 137 ] && killed=$((killed + 1))

  # Old or new, each file.
  if ! { [ "$(cat "$user/qUaRk_User_Profile.txt")" = "$profile_before" ] || cmp -s "$user/qUaRk_User_Profile.txt" "$work/profile_after"; }; then
    fail "$point" "the profile is neither the old one nor the new one"
  fi
  if [ -e "$user/qUaRk_Best_Scores.bin" ] && ! cmp -s "$user/qUaRk_Best_Scores.bin" "$work/scores_after"; then
    fail "$point" "the best scores are neither missing nor the new ones"
  fi
  if [ -e "$user/qUaRk_Undo.bin" ] && ! cmp -s -n "$(stat -c %s "$user/qUaRk_Undo.bin")" "$user/qUaRk_Undo.bin" "$work/history.bin"; then
    fail "$point" "the undo history is not a prefix of the game's history"
  fi
  entry_ms=""
  if [ -e "$user/qUaRk_Win.bin" ]; then
    entry_ms=$(i32 "$user/qUaRk_Win.bin" 4 2>/dev/null || true)
    if [ "$(stat -c %s "$user/qUaRk_Win.bin")" != 8 ] || [ "$(u16 "$user/qUaRk_Win.bin" 0)" != 1 ] ||
       { [ "$entry_ms" != "$move_ms" ] && [ "$entry_ms" != "$final_ms" ]; }; then
      fail "$point" "the win's entry is neither the winning move's nor the win's"
    fi
  fi
  had_record=0
  [ -e "$user/qUaRk_Best_Scores.bin" ] && had_record=1

  # The next start.
  run "$driver" "$work/next_start.txt" || true
  for f in "$user"/*_t "$user"/*.tmp; do [ -e "$f" ] && fail "$point" "$(basename "$f") is left after the next start"; done
  screen=$(sed -n 's/^Current_Screen = //p' "$work/after" 2>/dev/null)
  [ "$screen" = 43 ] && fail "$point" "Enter on the next start won a level"
  if [ -n "$entry_ms" ] || [ $had_record = 1 ]; then
    if [ ! -e "$user/qUaRk_Best_Scores.bin" ] || [ "$(stat -c %s "$user/qUaRk_Best_Scores.bin")" != 16 ]; then
      fail "$point" "the win was lost"; lost=$((lost + 1)); continue
    fi
    want=$(( ${entry_ms:-$final_ms} / 1000 ))
    last=$(i32 "$user/qUaRk_Best_Scores.bin" 8) best=$(i32 "$user/qUaRk_Best_Scores.bin" 12)
    [ "$last" = "$want" ] || fail "$point" "the record says ${last} s, the win took ${want} s"
    [ "$best" = 0 ] || fail "$point" "the win was entered twice"
    if [ -n "$entry_ms" ]; then from_entry=$((from_entry + 1)); else from_scores=$((from_scores + 1)); fi
  else
    # The win never reached the disk: it was not won yet, as far as any start can know.
    if [ -e "$user/qUaRk_Best_Scores.bin" ] && [ "$(stat -c %s "$user/qUaRk_Best_Scores.bin")" -gt 4 ]; then
      fail "$point" "a record appeared that neither the win's entry nor the best scores held"
    fi
    not_won=$((not_won + 1))
  fi
done
echo "${#points[@]} kill points, ${killed} sessions killed; at the next start the win came from its entry ${from_entry}" \
     "times and was in the best scores already ${from_scores} times, ${not_won} games were not won yet;" \
     "${lost} wins lost, ${failures} failures"
[ "$failures" = 0 ]
