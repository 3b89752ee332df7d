#!/usr/bin/env bash
# Start-up time (start to window mapped, median of N runs) and resident memory 10 s after
# start, of orbal in the demo folder under a private Xvfb. For scale, a bare Qt 6 window
# (a one-line QWidget program built here) is timed the same way when a compiler is at hand.
# Targets: 60 ms and 40 MB; with a player list of 100,000 songs, 150 ms.
# Usage: benchmarks/startup/run.sh [runs] [songs]   (build dir: $ORBAL_BUILD, default ./build)
# With songs, the player list names that many (empty) song files in a folder of the demo card.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
runs="${1:-15}"
songs="${2:-0}"
build="${ORBAL_BUILD:-$root/build}"
[ -x "$build/bin/orbal" ] || { echo "no $build/bin/orbal: build first (or set ORBAL_BUILD)" >&2; exit 1; }
work="$(mktemp -d)"
demo="$work/demo"
"$root/scripts/make-demo.sh" "$build" "$demo" >/dev/null
if [ "$songs" -gt 0 ]; then
  mkdir -p "$demo/mmc/mmca1/library"
  (cd "$demo/mmc/mmca1/library" && seq -f 'song %06.0f.mp3' 1 "$songs" | xargs -d '\n' touch)
  seq -f "$demo/mmc/mmca1/library/song %06.0f.mp3" 1 "$songs" > "$demo/.xmms/xmms.m3u"
fi
export HOME="$work/home"
mkdir -p "$HOME/.mplayer" && printf 'ao=null\nvo=null\n' > "$HOME/.mplayer/config"
unset QT_QPA_PLATFORM

# The mapping is seen from the X server's side: a helper listens for the map, starts the
# program and prints the microseconds between the two.
cc -O2 -o "$work/mapwait" "$root/benchmarks/startup/mapwait.c" -lX11

# A private server, so no other client's windows or load on the server interfere.
display=:$((90 + RANDOM % 100))
while [ -e "/tmp/.X11-unix/X${display#:}" ]; do display=:$((90 + RANDOM % 100)); done
Xvfb "$display" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY="$display"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

median() { sort -n | awk '{a[NR]=$1} END {m=a[int((NR+1)/2)]; printf "%d.%03d", m / 1000, m % 1000}'; }

# startup PROGRAM -> the times (microseconds) of $runs starts, one a line; the last run's
# resident memory 10 s after start goes to $work/rss (KB).
startup() {
  local i out
  for i in $(seq "$runs"); do
    out=$("$work/mapwait" 20000 "$@" 2>/dev/null) || { echo "no window from $1" >&2; return 1; }
    pid=${out#* }
    echo "${out% *}"
    if [ "$i" -eq "$runs" ]; then
      sleep 10
      awk '/VmRSS/ {print $2}' "/proc/$pid/status" > "$work/rss"
    fi
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
    # Let the server forget the window before the next start.
    sleep 0.3
    pid=
  done
}

cd "$demo"
ours=$(startup ./orbal | median)
rss=$(cat "$work/rss")
printf 'orbal start to window mapped, %d songs listed: median %s ms over %d runs (target < %d ms)\n' \
  "$songs" "$ours" "$runs" "$([ "$songs" -ge 100000 ] && echo 150 || echo 60)"
mb_target=""
[ "$songs" -eq 0 ] && mb_target=" (target < 40 MB)"
printf 'orbal resident memory 10 s after start: %d KB = %s MB%s\n' "$rss" \
  "$(awk -v k="$rss" 'BEGIN {printf "%.1f", k / 1024}')" "$mb_target"

if command -v c++ >/dev/null && pkg-config --exists Qt6Widgets 2>/dev/null; then
  printf '#include <QApplication>\n#include <QWidget>\nint main(int c, char **v) { QApplication a(c, v); QWidget w; w.resize(240, 320); w.show(); return a.exec(); }\n' > "$work/bare.cpp"
  if c++ -O2 -fPIC -std=c++17 -o "$work/bare" "$work/bare.cpp" $(pkg-config --cflags --libs Qt6Widgets) 2>/dev/null; then
    bare=$(startup "$work/bare" | median)
    printf 'bare Qt 6 window: median %s ms, %d KB after 10 s\n' "$bare" "$(cat "$work/rss")"
  fi
fi
