# What the X-server benchmarks share, sourced by them: a private Xvfb whose screen lives in a
# file, a work folder cleaned up on exit, and xwd.py, the screen file read from python.
#   bench_x_session PACKAGE...  installs the X server and the named packages through apt-get as
#                               the build does, makes $work and starts the X server (start_x)
#   start_x                     (re)starts the X server; sets DISPLAY and $screen
#   xwd.py (in $work; `sys.path.insert(0, WORK); from xwd import *` with the screen file as
#   sys.argv[2]): m (the screen, mapped), off, sw, sh, bpl, pad, rgb (byte offsets of red, green
#   and blue in a pixel), shot(path) writes the whole screen as a PNG, still() waits until the
#   screen has not changed for 0.5 s and says whether it did within 10 s.
# The scripts keep the measured program's pid in $app_pid, and its output in $work/program.log.

bench_x_session() {
  bash "$(dirname "${BASH_SOURCE[0]}")/../install-deps.sh" xvfb xdotool python3 "$@" \
    || echo "apt-get failed; going on with what is there" >&2
  for tool in Xvfb xdotool python3; do command -v "$tool" >/dev/null || { echo "no $tool" >&2; exit 1; }; done
  work=$(mktemp -d)
  xvfb_pid="" app_pid=""
  trap bench_cleanup EXIT
  trap 'exit 130' INT TERM
  trap 'echo "failed at line $LINENO; the programs said:" >&2; tail -n 20 "$work/program.log" >&2' ERR
  unset SDL_RENDER_DRIVER SDL_VIDEODRIVER
  export SDL_AUDIODRIVER=dummy
  cat >"$work/xwd.py" <<'PY'
import mmap, struct, sys, time, zlib
_f = open(sys.argv[2], 'rb')
m = mmap.mmap(_f.fileno(), 0, access=mmap.ACCESS_READ)
_h = struct.unpack('>25I', m[:100])  # an XWD header
off, sw, sh, bpl, pad = _h[0] + _h[19] * 12, _h[4], _h[5], _h[12], 3 if _h[7] == 0 else 0
rgb = (2, 1, 0) if pad == 3 else (1, 2, 3)

def shot(path):
    out = bytearray()
    for y in range(sh):
        r, px = m[off + y * bpl:off + y * bpl + sw * 4], bytearray(sw * 3)
        for i, c in enumerate(rgb): px[i::3] = r[c::4]
        out += b'\0' + px
    chunk = lambda t, b: struct.pack('>I', len(b)) + t + b + struct.pack('>I', zlib.crc32(t + b))
    open(path, 'wb').write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', sw, sh, 8, 2, 0, 0, 0))
                           + chunk(b'IDAT', zlib.compress(bytes(out), 1)) + chunk(b'IEND', b''))

def still():
    last, same, t0 = None, 0, time.time()
    while same < 5 and time.time() - t0 < 10:
        crc = zlib.crc32(m[off:off + sh * bpl])
        same, last = same + 1 if crc == last else 0, crc
        time.sleep(0.1)
    return same >= 5
PY
  start_x
}

bench_cleanup() {
  if [ -n "$app_pid" ]; then kill -9 "$app_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$work"
}

start_x() {  # a private X server; started again, with the same settings, if it has ended
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -br -nolisten tcp -fbdir "$work" 3>"$work/display" 2>>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
  DISPLAY=":$(head -n1 "$work/display")"
  export DISPLAY
  screen="$work/Xvfb_screen0"
}
