#!/usr/bin/env bash
# Screenshots of the main screens for the README, made with the test driver (headless, so every
# run gives the same pictures), the credits page in every language and the four verdicts of the
# victory screen. Usage: tools/screenshots.sh [build-folder]  -> docs/*.png, docs/credits/,
# docs/victory/
set -euo pipefail
cd "$(dirname "$0")/.."
driver=${1:-build}/quark-driver
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software XDG_DATA_HOME="$work/data"
run() { printf '%b' "$1" >"$work/script.txt"; "$driver" "$work/script.txt" 2>/dev/null; }
centre() { echo "$(( $1 * 74 + 37 )) $(( $2 * 74 + 37 ))"; }

# First start: the language screen, then the tutorial after a flag is chosen (the flags follow
# their language codes: English is the fourth of the first row).
run "wait 30\nmove $(centre 4 3)\nwait 2\nshot docs/screen_language.png\n"
run "wait 5\nclick 370 255\nwait 420\nshot docs/screen_tutorial.png\n"
profile="$XDG_DATA_HOME/qUaRk/qUaRk_User_Profile.txt"
printf '"Language" = "%s"\r\n' "$XDG_DATA_HOME/qUaRk/qUaRk_text_EN.txt" >"$profile"

run "wait 30\nmove $(centre 5 5)\nwait 10\nshot docs/screen_menu.png\n"
run "wait 10\nclick $(centre 5 3)\nwait 150\nshot docs/screen_level_map.png\n"
run "wait 5\nlevel 40\nwait 60\nmove $(centre 4 4)\npress 1\nwait 20\nshot docs/screen_level.png\nrelease 1\n"
run "wait 5\nclick $(centre 4 5)\nwait 120\nclick $(centre 6 3)\nwait 150\nshot docs/screen_style.png\n"
run "wait 5\nclick $(centre 5 5)\nwait 120\nclick $(centre 4 5)\nwait 150\nmove $(centre 5 6)\nwait 10\nshot docs/screen_display_options.png\n"
run "wait 10\nclick $(centre 5 3)\nwait 150\nkey Right\nkey Down\nwait 30\nshot docs/screen_level_map_keys.png\n"
# The colour-blind aid: a symbol on every block of the six colours.
cp "$profile" "$work/profile"
printf '"Colour Symbols" = 1\r\n' >>"$profile"
run "wait 5\nlevel 40\nwait 60\nshot docs/screen_symbols.png\n"
cp "$work/profile" "$profile"
# The hint on level 40: the group outlined, then the arrows of its direction.
run "wait 5\nlevel 40\nwait 60\ntext ?\nwait 3\nshot docs/screen_hint_group.png\ntext ?\nwait 3\nshot docs/screen_hint_direction.png\n"

# Level 1 played from its solution by mouse drags, then the victory screen.
moves=""
for token in $(head -n1 Data/full2.solutions.txt | cut -d' ' -f5-); do
  x=${token:0:1}; y=${token:1:1}; d=${token:2:1}
  case $d in R) nx=$((x+1)); ny=$y;; L) nx=$((x-1)); ny=$y;; D) nx=$x; ny=$((y+1));; U) nx=$x; ny=$((y-1));; esac
  moves+="move $(centre "$x" "$y")\npress 1\nwait 2\nmove $(centre "$nx" "$ny")\nwait 12\nrelease 1\nwait 30\n"
done
run "wait 5\nlevel 1\nwait 30\n${moves}wait 330\nshot docs/screen_victory.png\n"
# Level 1 was solved in par: its star on the level map.
run "wait 10\nclick $(centre 5 3)\nwait 150\nshot docs/screen_level_map_par.png\n"
ls -l docs/screen_*.png

# The credits page in every language at the smallest size, 640 x 448: Options, then Credits.
mkdir -p docs/credits
at56() { echo "$(( $1 * 56 + 28 )) $(( $2 * 56 + 28 ))"; }
for code in BG CN DE EN ES FR HE HU IT NL PL PT RO SV ZA; do
  printf '"Language" = "%s"\r\n"Resolution X" = 640\r\n"Resolution Y" = 448\r\n"Block Size" = 56\r\n' \
    "$XDG_DATA_HOME/qUaRk/qUaRk_text_$code.txt" >"$profile"
  run "wait 10\nclick $(at56 4 5)\nwait 150\nclick $(at56 4 6)\nwait 150\nshot docs/credits/credits_$code.png\n"
done
ls -l docs/credits

# The four verdicts of the victory screen: level 1 won a first time, then in exactly the
# record's time, slower, and faster. A pause makes the first time whole seconds (the record is
# kept in seconds), so that the second ties it.
mkdir -p docs/victory
verdict() {   # pause, picture name
  run "wait 5\nlevel 1\nwait 30\nsleep $1\nwait 1\n${moves}wait 330\nsleep 3100\nwait 2\nshot docs/victory/$2.png\nstate $work/state\n"
  sed -n 's/^Level_Final_Time = //p' "$work/state"
}
english() { printf '"Language" = "%s"\r\n' "$XDG_DATA_HOME/qUaRk/qUaRk_text_EN.txt" >"$profile"; }
pause=0
for attempt in 1 2 3 4 5 6 7 8; do
  rm -f "$XDG_DATA_HOME/qUaRk/qUaRk_Best_Scores.bin"
  english
  time=$(verdict $pause well_done)
  [ $((time % 1000)) -eq 0 ] && break
  pause=$((pause + 1000 - time % 1000))
done
english; verdict $pause ok_but_tied >/dev/null
english; verdict $((pause + 2000)) ok_but_slower >/dev/null
english; verdict 0 new_record >/dev/null
ls -l docs/victory
