#!/usr/bin/env bash
# Desktop benchmark: the game as a player runs it on a real X server (a private Xvfb), measured
# in the same run as the peer sgt-samegame, so that a busy machine weighs on both alike. The game
# runs twice per run: with the renderer SDL picks by itself and with SDL_RENDER_DRIVER=software.
#   window   launch to the first viewable top-level window (asked of the X server through Xlib
#            every millisecond from the poller; the measured program is alone on this server)
#   picture  launch to the first non-black pixel inside that window. Xvfb keeps its screen in a
#            file (-fbdir), so a look is a read of shared memory, not a screenshot round trip;
#            the root is black (-br) and there is no window manager, so a new window reads black
#            until the program draws. One poller (5 ms steps) times both programs the same way.
#   memory   VmRSS 3 s after launch (at the first picture when that comes later)
#   CPU      utime+stime from /proc/PID/stat over 5 s, in % of one core; the X server's share of
#            the same 5 s in brackets, since it does the last copy of every frame.
# Game screens: main menu, level map at rest, credits and level 1 untouched, then a block of level 1 dragged
# back and forth for 5 s. The peer has one screen: its board, untouched.
# Usage: tools/bench/desktop.sh [build-folder] [runs]; SHOTS=folder keeps a PNG of the screen as
# each measurement starts, to check what was measured.
set -euo pipefail
build=${1:-build}
runs=${2:-3}
game="$build/quark"
peer=/usr/games/sgt-samegame
[ -x "$game" ] || { echo "no $game: build first" >&2; exit 1; }

# The private X server and the screen file's reader; the peer, where apt-get can have it.
. "$(dirname "$0")/x_session.sh"
bench_x_session sgt-puzzles
[ -x "$peer" ] || { echo "no $peer: its rows are skipped" >&2; peer=""; }

# The poller and the screenshots: "launch SCREEN LOG COMMAND..." starts the program and prints
# "pid start_ns window_ms picture_ms window_id";
# "still" waits for the screen to stop changing; "shot PNG" writes the whole screen.
cat >"$work/fb.py" <<'EOF'
import os, subprocess, sys, time
sys.path.insert(0, os.path.dirname(sys.argv[0]))
from xwd import *
def run(*a): return subprocess.run(a, capture_output=True, text=True).stdout
def viewable_windows():  # the root's children that are mapped and viewable, asked of X directly
    import ctypes
    x = ctypes.CDLL('libX11.so.6')
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 3 + [ctypes.c_void_p]
    x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p]
    x.XFree.argtypes = [ctypes.c_void_p]
    d = x.XOpenDisplay(None)
    root = x.XDefaultRootWindow(d)
    attrs = ctypes.create_string_buffer(256)  # XWindowAttributes; map_state is the int at byte 92
    def look():
        r, p, kids, n = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        x.XQueryTree(d, root, ctypes.byref(r), ctypes.byref(p), ctypes.byref(kids), ctypes.byref(n))
        found = [kids[i] for i in range(n.value)
                 if x.XGetWindowAttributes(d, kids[i], attrs) and struct.unpack_from("i", attrs, 92)[0] == 2]
        if kids: x.XFree(kids)
        return found
    return look
if sys.argv[1] == 'launch':  # launch SCREEN LOG COMMAND...
    # The poller is ready before the program starts, and polls in this process every
    # millisecond: an interpreter starting up or an xdotool spawned for each look would take
    # longer than what is measured. Only the program measured has windows on this X server.
    look = viewable_windows()
    start = time.time_ns()
    app = subprocess.Popen(sys.argv[4:], stdout=open(sys.argv[3], 'ab'), stderr=subprocess.STDOUT)
    ms = lambda: (time.time_ns() - start) // 1000000
    while not (ids := [str(w) for w in look()]):
        if ms() > 30000: sys.exit('no window after 30 s')
        time.sleep(0.001)
    window = ms()
    g = dict(kv.split('=') for kv in run('xdotool', 'getwindowgeometry', '--shell', ids[0]).split())
    x0, y0 = max(int(g['X']), 0), max(int(g['Y']), 0)
    x1, y1 = min(x0 + int(g['WIDTH']), sw), min(y0 + int(g['HEIGHT']), sh)
    rect = lambda: [m[off + y * bpl + x0 * 4:off + y * bpl + x1 * 4] for y in range(y0, y1)]
    while not any(r[c::4].strip(b'\0') for r in rect() for c in range(4) if c != pad):
        if ms() > 30000: sys.exit('no picture after 30 s')
        time.sleep(0.005)
    print(app.pid, start, window, ms(), ids[0])
elif sys.argv[1] == 'still':  # until the screen has not changed for 0.5 s; fails after 10 s
    sys.exit(not still())
else:
    shot(sys.argv[3])
EOF

hz=$(getconf CLK_TCK)

ticks() {  # utime + stime; the name before them may hold spaces
  [ -r "/proc/$1/stat" ] || { echo "process $1 ended early" >&2; return 1; }
  awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"
}
# cpu_during COMMAND...: runs COMMAND; prints the program's and the X server's CPU meanwhile.
cpu_during() {
  local a0 x0 t0 a1 x1 t1
  a0=$(ticks "$app_pid"); x0=$(ticks "$xvfb_pid"); t0=$(date +%s%N)
  "$@"
  a1=$(ticks "$app_pid"); x1=$(ticks "$xvfb_pid"); t1=$(date +%s%N)
  awk -v a=$((a1 - a0)) -v x=$((x1 - x0)) -v t=$((t1 - t0)) -v hz="$hz" \
    'BEGIN { printf "%.1f %.1f", a * 1e11 / hz / t, x * 1e11 / hz / t }'
}
record() { echo "$1|$2|$3" >>"$work/results"; }  # program, figure, value
shot() { if [ -n "${SHOTS:-}" ]; then mkdir -p "$SHOTS"; python3 "$work/fb.py" shot "$screen" "$SHOTS/$1.png"; fi; }
park() { xdotool mousemove 1279 1023; }  # off both windows: nothing hovers
# launch COMMAND...: starts it in the background and waits for its window and first picture.
launch() {
  read -r app_pid start window picture wid < <(python3 "$work/fb.py" launch "$screen" "$work/program.log" "$@") ||
    { echo "$* showed nothing; its output:" >&2; cat "$work/program.log" >&2; exit 1; }
}
alive() {  # what was done last: a game that ended there fails the run with its own words
  kill -0 "$app_pid" 2>/dev/null && return 0
  echo "the program ended after $1" >&2; app_pid=""; return 1
}
sleep_until() {  # milliseconds after launch
  local left=$(((start + $1 * 1000000 - $(date +%s%N)) / 1000000))
  if [ "$left" -gt 0 ]; then sleep "$((left / 1000)).$(printf '%03d' $((left % 1000)))"; fi
}
stop() {  # SIGTERM, and SIGKILL when that has not ended it within 3 s
  kill "$app_pid" 2>/dev/null || true
  for _ in $(seq 30); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$app_pid" 2>/dev/null || true; wait "$app_pid" 2>/dev/null || true; app_pid=""
}
first_screen() {  # name, label: the common figures
  local rss idle
  sleep_until 3000
  rss=$(awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$app_pid/status")
  sleep_until $((picture + 1500))  # the main menu slides in
  park; shot "$run-$1-first"
  idle=$(cpu_during sleep 5)
  record "$1" window "$window"; record "$1" picture "$picture"; record "$1" rss "$rss"; record "$1" idle "$idle"
  line="$2: window $window ms, picture $picture ms, memory $rss MiB; CPU % (X server): first screen ${idle/ / (})"
}

# The game, from a profile that names a language so that it opens on the main menu; the rest is
# a new player's defaults, music on (into SDL's dummy audio device). Inputs:
#  - main menu: a click on the "Play" caption (cells 4-7 of row 3, window 407,259) opens the level
#    map, which slides in from below; at rest nothing on it moves, so the screen stands still;
#  - Esc goes back to the main menu; there "Options" (cell 5 of row 5) and in it "Credits" (row 6)
#    show the credits, left by the BACK icon twice; Enter on the main menu starts level 1;
#  - level 1: the orange bar at cells 0-1 of row 5 (window 37,407) has the rest of its row free,
#    so dragging it along the row slides it to and fro without joining any group.
run_game() {  # name, label, extra environment...
  local name=$1 label=$2 data map credits level drag moves=() x
  shift 2
  data=$(mktemp -d "$work/data.XXXXXX")
  mkdir -p "$data/qUaRk"
  printf '"Language" = "qUaRk_text_EN.txt"\n' >"$data/qUaRk/qUaRk_User_Profile.txt"
  launch env "$@" XDG_DATA_HOME="$data" "$game"
  first_screen "$name" "$label"
  xdotool mousemove --window "$wid" 407 259 click 1; park; sleep 1.5
  python3 "$work/fb.py" still "$screen" || echo "  (the level map was still moving after 10 s)"
  shot "$run-$name-map"
  alive "the click on Play"; map=$(cpu_during sleep 5)
  xdotool windowfocus "$wid" key Escape; sleep 1.5
  # Options (cell 5 of row 5), then Credits (row 6).
  xdotool mousemove --window "$wid" 407 407 click 1; park; sleep 1.5
  xdotool mousemove --window "$wid" 407 481 click 1; park; sleep 1.5
  python3 "$work/fb.py" still "$screen" || echo "  (the credits were still moving after 10 s)"
  shot "$run-$name-credits"
  alive "Options and Credits"; credits=$(cpu_during sleep 5)
  # The BACK icon (top of the side bar) twice: to the options, then to the main menu.
  xdotool mousemove --window "$wid" 772 37 click 1; park; sleep 1.5
  xdotool mousemove --window "$wid" 772 37 click 1; park; sleep 1.5
  alive "BACK twice"
  xdotool windowfocus "$wid" key Return; sleep 1.5; shot "$run-$name-level"
  alive "Esc and Enter"
  level=$(cpu_during sleep 5)
  for i in $(seq 0 99); do  # a cell every 50 ms, to the right edge and back
    x=$((i % 18 < 9 ? i % 18 : 18 - i % 18))
    moves+=(mousemove --window "$wid" $((37 + 74 * x)) 407 sleep 0.05)
  done
  xdotool mousemove --window "$wid" 37 407 mousedown 1 sleep 0.2
  drag=$(cpu_during xdotool "${moves[@]}")
  shot "$run-$name-drag"; xdotool mouseup 1
  stop
  record "$name" map "$map"; record "$name" credits "$credits"; record "$name" level "$level"
  record "$name" drag "$drag"
  echo "  $line, map ${map/ / (}), credits ${credits/ / (}), level 1 ${level/ / (}), drag ${drag/ / (})"
}
run_peer() {
  local data
  data=$(mktemp -d "$work/data.XXXXXX")
  launch env XDG_DATA_HOME="$data" "$peer"
  first_screen peer "sgt-samegame"
  stop
  echo "  $line"
}

echo "qUaRk $game of $(date -r "$game" '+%F %R') against ${peer:-no peer}; $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), $runs runs"
for run in $(seq "$runs"); do
  echo "run $run"
  run_game default "qUaRk, default renderer"
  run_game software "qUaRk, software renderer" SDL_RENDER_DRIVER=software
  if [ -n "$peer" ]; then run_peer; fi
done

median() {  # program, figure, column (1 the program, 2 the X server)
  { grep -F "$1|$2|" "$work/results" || true; } | cut -d'|' -f3 | cut -d' ' -f"$3" | sort -g |
    awk -v f="$([ "$2" = window ] || [ "$2" = picture ] && echo %.0f || echo %.1f)" \
      '{ v[NR] = $1 } END { if (NR) printf f, NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
cell() {  # program, figure
  local v x
  v=$(median "$1" "$2" 1)
  case $2 in idle | map | credits | level | drag) x=$(median "$1" "$2" 2); [ -n "$v" ] && v="$v ($x)";; esac
  echo "${v:-–}"
}
ratio() {  # game program, figure
  local g p
  g=$(median "$1" "$2" 1); p=$(median peer "$2" 1)
  awk -v g="$g" -v p="$p" 'BEGIN { if (g == "" || p == "" || p + 0 == 0) print "–"; else printf "%.2f\n", g / p }'
}
echo
echo "Medians of $runs runs, $(date +%F). CPU in % of one core, the X server's share in brackets; one"
echo "clock tick over 5 s is $(awk -v hz="$hz" 'BEGIN { printf "%g", 100 / hz / 5 }') %. A ratio is missing where the peer has no such"
echo "screen or used no CPU that a tick would count."
echo
echo "| Figure | qUaRk, default renderer | qUaRk, software renderer | sgt-samegame | default / peer | software / peer |"
echo "|---|--:|--:|--:|--:|--:|"
while IFS='|' read -r figure title; do
  echo "| $title | $(cell default "$figure") | $(cell software "$figure") | $(cell peer "$figure") |" \
    "$(ratio default "$figure") | $(ratio software "$figure") |"
done <<'EOF'
window|Launch to first visible window (ms)
picture|Launch to first picture (ms)
rss|Resident memory 3 s after launch (MiB)
idle|CPU on the first screen, untouched (main menu; peer: its board)
map|CPU on the level map at rest
credits|CPU on the credits, untouched
level|CPU in level 1, untouched
drag|CPU while dragging a block of level 1
EOF
