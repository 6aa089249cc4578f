#!/usr/bin/env bash
# Screenshots of the main screens for the README, made with the test driver (headless, so every
# run gives the same pictures). Usage: tools/screenshots.sh [build-folder]  -> docs/*.png
set -euo pipefail
cd "$(dirname "$0")/.."
driver=${1:-build}/quark-driver
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software XDG_DATA_HOME="$work/data"
run() { printf '%b' "$1" >"$work/script.txt"; "$driver" "$work/script.txt" 2>/dev/null; }
centre() { echo "$(( $1 * 74 + 37 )) $(( $2 * 74 + 37 ))"; }

# First start: the language screen, then the tutorial after a flag is chosen (the flags follow
# the order the folder lists them in, so the flag under the click may differ between machines).
run "wait 30\nmove $(centre 4 3)\nwait 2\nshot docs/screen_language.png\n"
run "wait 5\nclick 475 255\nwait 420\nshot docs/screen_tutorial.png\n"
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
script="wait 5\nlevel 1\nwait 30\n"
for token in $(head -n1 Data/full2.solutions.txt | cut -d' ' -f5-); do
  x=${token:0:1}; y=${token:1:1}; d=${token:2:1}
  case $d in R) nx=$((x+1)); ny=$y;; L) nx=$((x-1)); ny=$y;; D) nx=$x; ny=$((y+1));; U) nx=$x; ny=$((y-1));; esac
  script+="move $(centre "$x" "$y")\npress 1\nwait 2\nmove $(centre "$nx" "$ny")\nwait 12\nrelease 1\nwait 30\n"
done
script+="wait 330\nshot docs/screen_victory.png\n"
run "$script"
# Level 1 was solved in par: its star on the level map.
run "wait 10\nclick $(centre 5 3)\nwait 150\nshot docs/screen_level_map_par.png\n"
ls -l docs/screen_*.png
