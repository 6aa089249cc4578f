#!/usr/bin/env bash
# Input latency benchmark: how long after a mouse press, or a pointer move while holding a group,
# the first changed pixel of the window reaches the screen, for two builds of the game measured in
# the same run on one private Xvfb. Runs of the two builds alternate (A B B A ...) so that a busy
# machine weighs on both alike.
#   press   the button goes down on the orange bar of level 1; the game takes hold of the bar and
#           draws it highlighted, so the pressed cell changes.
#   motion  while the bar is held the pointer moves one cell along the row; the bar follows, so
#           the cell it enters changes.
# One python process per run sends the input through the X server's XTEST extension and polls
# the pixels of the watched cell in the Xvfb screen file (-fbdir, an XWD image in shared memory),
# sleeping 0.5 ms between looks (more on a busy machine: the run prints the mean step); the clock
# starts just before the request leaves. What is measured is thus request -> X server -> game ->
# frame -> X server's copy into its screen: the X server's work is in both builds' figures,
# though a build that hands its frames over another way (GL, shared memory) costs it more or less.
# Two scenes, each a fresh player (fresh XDG_DATA_HOME):
#   default  a new player's settings; the glints and sparkles on level 1's other blocks keep the
#            screen moving, so the game never stands still and never rests.
#   still    "Display Quality" = 1 (low detail: no particles, no shadows); level 1 stands still,
#            so before every press the screen has been unchanged long enough for a game that
#            rests after a still screen to be resting: the press has to wake it.
# While the bar is held its highlight glows, so the game draws every frame: motion is measured on
# a running game in both scenes.
# Usage: tools/bench/latency.sh OLD_BINARY NEW_BINARY [samples]; samples per build, kind and
# scene (default 20). SCENES="default still" picks scenes; RENDERER=software (any SDL render
# driver) makes both builds use that renderer instead of the one each picks by itself, to tell the
# renderer's share from the frame loop's (a build that leaves SDL's framebuffer acceleration on
# still shows its software frames through GL); SHOTS=folder keeps PNGs of the first sample of
# each run (before the press, held, moved) to check what was measured.
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 OLD_BINARY NEW_BINARY [samples]" >&2; exit 2; }
old=$(realpath "$1") new=$(realpath "$2") samples=${3:-20}
per_run=5  # samples per launch; more launches spread the machine's moods over both builds
scenes=${SCENES:-default still}
for b in "$old" "$new"; do [ -x "$b" ] || { echo "no $b: build first" >&2; exit 1; }; done

# The private X server and the screen file's reader; XTEST for the input.
. "$(dirname "$0")/x_session.sh"
bench_x_session libxtst6
if [ -n "${RENDERER:-}" ]; then export SDL_RENDER_DRIVER=$RENDERER; fi

# The poller. "still SCREEN" waits until the screen has not changed for 0.5 s (fails after 10 s);
# "shot SCREEN PNG" writes the whole screen; "measure SCREEN X Y W H SAMPLES STILL PID SHOTS" runs
# the samples on the window at X,Y of W x H and prints "press MS", "motion MS" or "skip KIND WHY",
# and "wakes N": how often a second the game's main thread woke in the half second before a press.
cat >"$work/lat.py" <<'EOF'
import ctypes, os, sys, time
sys.path.insert(0, os.path.dirname(sys.argv[0]))
from xwd import *

if sys.argv[1] == 'shot':
    shot(sys.argv[3]); sys.exit()
if sys.argv[1] == 'still':
    sys.exit(not still())

wx, wy, ww, wh, samples, still, pid, shots = *map(int, sys.argv[3:8]), *map(int, sys.argv[8:10]), sys.argv[10]
cell = wh // 8  # the board is 8 cells high and fills the window's height
x11, xtst = ctypes.CDLL('libX11.so.6'), ctypes.CDLL('libXtst.so.6')
x11.XOpenDisplay.restype, x11.XOpenDisplay.argtypes = ctypes.c_void_p, [ctypes.c_char_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
dpy = x11.XOpenDisplay(None)
if not dpy: sys.exit('no X display')
def point(col, row):  # the pointer to the middle of a cell
    xtst.XTestFakeMotionEvent(dpy, -1, wx + col * cell + cell // 2, wy + row * cell + cell // 2, 0); x11.XFlush(dpy)
def button(down):
    xtst.XTestFakeButtonEvent(dpy, 1, down, 0); x11.XFlush(dpy)

def area(col, row):  # every 4th line inside a cell, clear of the glow and shadow at its edges
    i = cell // 6
    x0, x1 = (wx + col * cell + i) * 4, (wx + (col + 1) * cell - i) * 4
    return [off + y * bpl for y in range(wy + row * cell + i, wy + (row + 1) * cell - i, 4)], x0, x1
def look(a):
    rows, x0, x1 = a
    return b''.join([m[r + x0:r + x1] for r in rows])
def mean(a):  # mean red, green, blue
    px = look(a)
    return [sum(px[c::4]) / (len(px) // 4) for c in rgb]
def quiet(a, ms, limit, step=0.002):  # until the area has not changed for ms; False after limit s
    t0 = t = time.monotonic(); last = look(a)
    while time.monotonic() - t < ms / 1000:
        if time.monotonic() - t0 > limit: return False
        time.sleep(step)
        now = look(a)
        if now != last: last, t = now, time.monotonic()
    return True
window = [wy * bpl + off + y * bpl for y in range(wh)], wx * 4, (wx + ww) * 4
polls = []
def timed(a, action):  # ms from just before the action to the first change in the area
    before = look(a)
    t0 = time.perf_counter_ns(); action(); n = 0
    while True:
        if look(a) != before:
            t1 = time.perf_counter_ns(); polls.append((t1 - t0) / max(n, 1) / 1e6)
            return (t1 - t0) / 1e6
        if time.perf_counter_ns() - t0 > 3e9: return None
        time.sleep(0.0005); n += 1
def switches():  # times the game's main thread has gone to sleep: each wait for a frame or event
    for line in open(f'/proc/{pid}/task/{pid}/status'):
        if line.startswith('voluntary_ctxt_switches'): return int(line.split()[1])
orange = lambda c: c[0] > c[2] + 60  # red well above blue: the bar, not the board's slate blue

bar = 0  # the bar's left cell on row 5: it starts on cells 0-1 and goes 0 -> 1 -> 0 ...
for k in range(samples):
    take, to = (bar, bar + 1) if bar == 0 else (bar, bar - 1)
    enter = to + 1 if to > take else to  # the cell the bar moves into
    point(take, 5)
    time.sleep(0.5)
    c0 = switches(); time.sleep(0.5); c1 = switches()
    print(f'wakes {(c1 - c0) / 0.5:.0f}', flush=True)
    pressed, entered = area(take, 5), area(enter, 5)
    if not orange(mean(pressed)) or orange(mean(entered)):
        sys.exit(f'sample {k}: the bar is not where it should be (cells {bar}-{bar + 1} of row 5)')
    why = None
    if still and not quiet(window, 500, 5, 0.02): why = 'the screen did not stand still for 0.5 s within 5 s'
    elif not quiet(pressed, 200, 3): why = 'the pressed cell kept changing'
    if k == 0 and shots: shot(f'{shots}-before.png')
    dark = mean(pressed)
    ms = timed(pressed, lambda: button(1))
    time.sleep(0.1)
    if ms is None: why = why or 'no change within 3 s'
    elif sum(mean(pressed)) <= sum(dark): why = why or 'the pressed cell did not get lighter'
    print(f'skip press {why}' if why else f'press {ms:.2f}', flush=True)
    time.sleep(0.9)
    if k == 0 and shots: shot(f'{shots}-held.png')
    why = None if quiet(entered, 200, 3) else 'the cell to enter kept changing'
    ms = timed(entered, lambda: point(to, 5))
    time.sleep(0.1)
    if ms is None: why = why or 'no change within 3 s'
    elif not orange(mean(entered)): why = why or 'the entered cell is not the bar'
    print(f'skip motion {why}' if why else f'motion {ms:.2f}', flush=True)
    if k == 0 and shots: shot(f'{shots}-moved.png')
    time.sleep(0.2)
    button(0)
    bar += to - take
    time.sleep(1.0)  # the highlight goes; a still screen has time to put a resting game to rest
print(f'poll {sum(polls) / max(len(polls), 1):.3f}', flush=True)
EOF


park() { xdotool mousemove 1279 1023; }  # off the window: nothing hovers
alive() {  # what was done last: a game that ended there fails the run with its own words
  kill -0 "$app_pid" 2>/dev/null && return 0
  wait "$app_pid" && status=0 || status=$?
  echo "the game ended after $1 (status $status)" >&2; app_pid=""; return 1
}
stop() {  # SIGTERM, and SIGKILL when that has not ended it within 3 s
  kill "$app_pid" 2>/dev/null || true
  for _ in $(seq 30); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$app_pid" 2>/dev/null || true; wait "$app_pid" 2>/dev/null || true; app_pid=""
}

# run BUILD-NAME BINARY SCENE RUN: one launch of the game and its samples, added to the results.
# The way to level 1 is the desktop benchmark's: a click on "Play" on the main menu opens the
# level map, Esc goes back to the menu and Enter there starts the first unsolved level. Level 1's
# orange bar lies on cells 0-1 of row 5 with the rest of the row free, so it moves to and fro
# without joining any group.
run() {
  local name=$1 binary=$2 scene=$3 n=$4 data wid geometry x y w h cell
  data=$(mktemp -d "$work/data.XXXXXX")
  mkdir -p "$data/qUaRk"
  printf '"Language" = "qUaRk_text_EN.txt"\n' >"$data/qUaRk/qUaRk_User_Profile.txt"
  [ "$scene" = still ] && printf '"Display Quality" = 1\n' >>"$data/qUaRk/qUaRk_User_Profile.txt"
  park
  XDG_DATA_HOME="$data" "$binary" >>"$work/program.log" 2>&1 &
  app_pid=$!
  for _ in $(seq 600); do
    wid=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | head -n1) && [ -n "$wid" ] && break
    alive "the launch"; sleep 0.1
  done
  if [ -z "$wid" ]; then
    # Seen now and then: a launch whose only words are about XDG_RUNTIME_DIR, which SDL says when
    # it could not open the X display and tries another kind, although the X server is alive and
    # xdotool reaches it; the game then runs on without a window. The launch is tried again, on a
    # new server if this one has ended; a run keeps its samples only once it is through, so a
    # failed launch adds nothing.
    echo "  ($scene $name: no window in 60 s; X server $(kill -0 "$xvfb_pid" 2>/dev/null && echo alive || echo ended)," \
      "xdotool $(xdotool getmouselocation >/dev/null 2>&1 && echo reaches || echo "does not reach") it," \
      "its socket $(ls "/tmp/.X11-unix/X${DISPLAY#:}" >/dev/null 2>&1 && echo is || echo "is not") there;" \
      "the game said: $(tail -n 3 "$work/program.log" | tr '\n' ' ')X server log: $(tail -n 3 "$work/xvfb.log" | tr '\n' ' '))" >&2
    stop
    kill -0 "$xvfb_pid" 2>/dev/null || start_x
    failed_launches=$((failed_launches + 1))
    [ "$failed_launches" -le 3 ] || { echo "more than 3 launches without a window: giving up" >&2; exit 1; }
    retry=1; return 0
  fi
  sleep 3  # the main menu slides in
  if [ -z "${renderer[$name]:-}" ]; then  # what the default renderer turned out to be, once per build
    if grep -q -E '_dri\.so|libGLX_mesa|libgallium' "/proc/$app_pid/maps"; then renderer[$name]="GL (Mesa's driver is loaded)"
    else renderer[$name]="software (no GL driver loaded)"; fi
  fi
  geometry=$(xdotool getwindowgeometry --shell "$wid")
  x=$(sed -n 's/^X=//p' <<<"$geometry"); y=$(sed -n 's/^Y=//p' <<<"$geometry")
  w=$(sed -n 's/^WIDTH=//p' <<<"$geometry"); h=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
  cell=$((h / 8))
  xdotool mousemove --window "$wid" $((cell * 11 / 2)) $((cell * 7 / 2)) click 1; park; sleep 1.5
  python3 "$work/lat.py" still "$screen" || echo "  (the level map was still moving after 10 s)"
  alive "the click on Play"
  xdotool windowfocus "$wid" key Escape; sleep 1.5
  xdotool windowfocus "$wid" key Return; sleep 1.5
  alive "Esc and Enter"
  if [ "$scene" = still ]; then
    python3 "$work/lat.py" still "$screen" || echo "  (level 1 was still moving after 10 s)"
  fi
  local shots=""
  if [ -n "${SHOTS:-}" ]; then mkdir -p "$SHOTS"; shots="$SHOTS/$scene-$n-$name"; fi
  python3 "$work/lat.py" measure "$screen" "$x" "$y" "$w" "$h" "$per_run" $([ "$scene" = still ] && echo 1 || echo 0) "$app_pid" "$shots" \
    >"$work/out" || { cat "$work/out" >&2; alive "the samples"; exit 1; }
  alive "the samples"
  stop
  while read -r kind rest; do echo "$scene|$name|$kind|$rest" >>"$work/results"; done <"$work/out"
  printf '  %-7s %-4s %s\n' "$scene" "$name" "$(awk '$1 != "skip" && $1 != "wakes" { printf "%s %s  ", $1, $2 }
    $1 == "skip" { printf "[%s]  ", $0 }' "$work/out")"
}

declare -A renderer
failed_launches=0
rounds=$(((samples + per_run - 1) / per_run))
echo "Old: $old ($(date -r "$old" '+%F %R'))"
echo "New: $new ($(date -r "$new" '+%F %R'))"
echo "Display $DISPLAY; SDL_RENDER_DRIVER ${SDL_RENDER_DRIVER:-unset (each build picks its renderer)}"
echo "$(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg); $rounds launches of $per_run samples per build and scene"
touch "$work/results"
for scene in $scenes; do
  for r in $(seq "$rounds"); do
    if [ $((r % 2)) -eq 1 ]; then order="old new"; else order="new old"; fi
    for name in $order; do
      retry=1
      while [ "$retry" = 1 ]; do
        retry=0
        if [ "$name" = old ]; then run old "$old" "$scene" "$r"; else run new "$new" "$scene" "$r"; fi
      done
    done
  done
done

# stats SCENE BUILD KIND: "n median p90 min max" of the first $samples values (p90 nearest rank).
stats() {
  { grep -F "$1|$2|$3|" "$work/results" || true; } | cut -d'|' -f4 | head -n "$samples" | sort -g |
    awk '{ v[NR] = $1 } END {
      if (!NR) { print "0 – – – –"; exit }
      m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      p = int(0.9 * NR); if (p < 0.9 * NR) p++
      printf "%d %.1f %.1f %.1f %.1f\n", NR, m, v[p], v[1], v[NR] }'
}
skips() { { grep -F "$1|$2|skip|$3 " "$work/results" || true; } | wc -l; }
echo
echo "Milliseconds from the input request to the first changed pixel of the watched cell in the X"
echo "server's screen, $(date +%F); p90 is the 90th percentile (nearest rank). Skipped: samples"
echo "left out because the cell was not quiet before, or did not change as the input should make it."
echo
echo "Renderer: old ${renderer[old]:-?}; new ${renderer[new]:-?}."
echo
echo "| Scene | Kind | Build | n | median | p90 | min | max | skipped |"
echo "|---|---|---|--:|--:|--:|--:|--:|--:|"
for scene in $scenes; do
  for kind in press motion; do
    for name in old new; do
      read -r n med p90 min max < <(stats "$scene" "$name" "$kind")
      echo "| $scene | $kind | $name | $n | $med | $p90 | $min | $max | $(skips "$scene" "$name" "$kind") |"
    done
  done
done
poll=$({ grep -F '|poll|' "$work/results" || true; } | cut -d'|' -f4 | awk '{ s += $1 } END { if (NR) printf "%.2f", s / NR }')
echo
echo "Wake-ups of the game's main thread per second in the half second before a press, median over"
echo "the presses: about 10 for a game at rest, which waits for input with a 100 ms timer; a game that"
echo "draws frames wakes several times a frame (frame pacing, the X server's replies):"
for scene in $scenes; do
  for name in old new; do
    echo "  $scene, $name: $({ grep -F "$scene|$name|wakes|" "$work/results" || true; } | cut -d'|' -f4 | sort -g |
      awk '{ v[NR] = $1 } END { if (NR) print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2); else print "?" }')"
  done
done
echo
echo "Mean time between two looks at the cell: ${poll:-?} ms (the resolution of every figure)."
echo "Launches retried because the game showed no window: $failed_launches."
