#!/usr/bin/env bash
# Plays the scripted sessions of this folder (the menus, a level won, the tutorial) through the
# quark-driver of each build given and checks that every state dump, every screenshot and every
# file the player keeps came out byte for byte the same. A change that should not alter the game
# (moving code between layers, renaming) is proven by it:
#
#   tools/sessions/compare.sh BUILD_BEFORE BUILD_AFTER
#   tools/sessions/compare.sh --record BUILD OUT    (keeps one build's output in OUT)
#   tools/sessions/compare.sh --against OUT BUILD   (compares a build with a kept output)
#
# Each session runs in a fresh user folder; menus.txt and level_won.txt start from a profile that
# names the English language file, tutorial.txt from none (the first start).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software

# record BUILD OUT: every session of BUILD into OUT/<session>/
record() {
  local driver out="$2"
  driver="$(cd "$1" 2>/dev/null && pwd)/quark-driver"
  [ -x "$driver" ] || { echo "no quark-driver in $1" >&2; exit 2; }
  rm -rf "$out"
  mkdir -p "$out"
  out="$(cd "$out" && pwd)"
  for script in "$here"/*.txt; do
    local name work
    name="$(basename "$script" .txt)"
    work="$(mktemp -d /tmp/quark-sessions-XXXXXX)"
    mkdir -p "$work/data/qUaRk" "$out/$name"
    if [ "$name" != tutorial ]; then
      printf '"Version" = "F1.4.0"\r\n"Language" = "%s"\r\n' "$work/data/qUaRk/qUaRk_text_EN.txt" \
        >"$work/data/qUaRk/qUaRk_User_Profile.txt"
    fi
    sed "s#{dir}#$out/$name#g" "$script" >"$work/script.txt"
    local status=0
    (cd "$work" && XDG_DATA_HOME="$work/data" "$driver" "$work/script.txt" >"$out/$name/stdout.txt" \
      2>"$out/$name/stderr.txt") || status=$?
    echo "$status" >"$out/$name/exit_status"
    # The player's files, with the session folder's name taken out of the profile.
    for f in qUaRk_User_Profile.txt qUaRk_Undo.bin qUaRk_Best_Scores.bin; do
      if [ -f "$work/data/qUaRk/$f" ]; then
        sed "s#$work#SESSION#g" "$work/data/qUaRk/$f" >"$out/$name/user_$f"
      fi
    done
    # The dumps name the session's folder (the language file); take it out.
    find "$out/$name" -type f ! -name '*.png' -exec sed -i "s#$work#SESSION#g" {} +
    rm -rf "$work"
  done
}

case "${1:-}" in
  --record)
    [ $# -eq 3 ] || { echo "usage: $0 --record BUILD OUT" >&2; exit 2; }
    record "$2" "$3"
    ;;
  --against)
    [ $# -eq 3 ] || { echo "usage: $0 --against OUT BUILD" >&2; exit 2; }
    after="$(mktemp -d /tmp/quark-sessions-after-XXXXXX)"
    record "$3" "$after/out"
    if diff -r "$2" "$after/out" >"$after/diff.txt"; then
      echo "identical: $(find "$2" -type f | wc -l) files"
      rm -rf "$after"
    else
      head -40 "$after/diff.txt"
      echo "DIFFERENT (full list in $after/diff.txt)"
      exit 1
    fi
    ;;
  *)
    [ $# -eq 2 ] || { echo "usage: $0 BUILD_BEFORE BUILD_AFTER" >&2; exit 2; }
    before="$(mktemp -d /tmp/quark-sessions-before-XXXXXX)"
    record "$1" "$before/out"
    "$0" --against "$before/out" "$2"
    rm -rf "$before"
    ;;
esac
