#!/usr/bin/env bash
# Front-end CPU while playing: orbal in its vertical form (title scrolling, lyric panel open
# with lyrics shown) and SMPlayer playing the same file, each over the same stretch under a
# private Xvfb, the mplayer children excluded. Prints both shares of a core and their ratio
# (target: orbal at most a fifth of SMPlayer's). Needs the Debian package smplayer for the
# comparison.
# Usage: benchmarks/cpu/run.sh [seconds]   (build dir: $ORBAL_BUILD, default ./build)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
secs="${1:-60}"
build="${ORBAL_BUILD:-$root/build}"
[ -x "$build/bin/orbal" ] || { echo "no $build/bin/orbal: build first (or set ORBAL_BUILD)" >&2; exit 1; }
work="$(mktemp -d)"
demo="$work/demo"
"$root/scripts/make-demo.sh" "$build" "$demo" >/dev/null
export HOME="$work/home"
mkdir -p "$HOME/.mplayer" && printf 'ao=null\n' > "$HOME/.mplayer/config"
unset QT_QPA_PLATFORM
music="$demo/mmc/mmca1/music"
# A long song so playback outlasts the measurement, with a name wider than the title line
# so the title keeps scrolling, and lyrics beside it.
long="$music/A long evening walk through the quiet town.mp3"
sox "$music/02 Evening Walk.mp3" "$work/long.wav" repeat $((secs / 10 + 2)) 2>/dev/null
lame --quiet "$work/long.wav" "$long"
cp "$music/02 Evening Walk.lrc" "${long%.mp3}.lrc"
printf '%s\n' "$long" > "$demo/.xmms/xmms.m3u"
printf '[tvskin]\nEnxmms=false\nshowlrc=true\n' > "$demo/.xmms/tavrin_cfg"

display=:$((90 + RANDOM % 100))
while [ -e "/tmp/.X11-unix/X${display#:}" ]; do display=:$((90 + RANDOM % 100)); done
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY="$display"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

# On-CPU nanoseconds of each thread of a process, "tid ns" a line (the scheduler's own
# count: finer than the clock ticks of /proc/<pid>/stat, which at these loads are a handful
# a minute).
cpu_ns() {
  local t
  for t in "/proc/$1"/task/*; do
    [ -r "$t/schedstat" ] && echo "${t##*/} $(cut -d' ' -f1 "$t/schedstat" 2>/dev/null)"
  done
}
children() { # pid -> its child processes
  local f stat
  for f in /proc/[0-9]*/stat; do
    stat=$(cat "$f" 2>/dev/null) || continue
    stat=${stat##*) }
    set -- "$1" $stat
    [ "$3" = "$1" ] && { f=${f#/proc/}; echo "${f%/stat}"; }
  done
}
# The first child of $1 whose command line mentions the long song, waited for up to 15 s.
player_child() {
  local c _
  for _ in $(seq 75); do
    for c in $(children "$1"); do
      tr '\0' ' ' < "/proc/$c/cmdline" 2>/dev/null | grep -q "long evening walk" && { echo "$c"; return 0; }
    done
    sleep 0.2
  done
  return 1
}

measure() { # pid -> percent of one core over $secs
  local t0 t1
  cpu_ns "$1" > "$work/cpu0"; sleep "$secs"; cpu_ns "$1" > "$work/cpu1"
  # Threads alive at the end, less what they had at the start (0 for ones born since).
  awk -v s="$secs" 'NR == FNR {before[$1] = $2; next} {sum += $2 - before[$1]}
    END {printf "%.3f", 100 * sum / 1e9 / s}' "$work/cpu0" "$work/cpu1"
}

# Clicks at the centre of a skin element of the default skin.
click() {
  local e
  e=$(grep "^$2=" "$demo/skins/default/skins.conf" | cut -d= -f2)
  IFS=, read -r x y w h _ <<< "$e"
  xdotool mousemove --window "$1" $((x + w / 2)) $((y + h / 2)) click 1
}

cd "$demo"
./orbal >/dev/null 2>&1 &
opid=$!
pids+=("$opid")
wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$opid" | head -1)
[ -n "$wid" ] || { echo "orbal showed no window" >&2; exit 1; }
click "$wid" btn_lrcwin # the lyric panel
click "$wid" play
omp=$(player_child "$opid") || { echo "orbal started no mplayer" >&2; exit 1; }
sleep 2
ours=$(measure "$opid")
kill -0 "$omp" 2>/dev/null || echo "warning: orbal's mplayer ended during the measurement" >&2
kill "$opid"; wait "$opid" 2>/dev/null || true
kill "$omp" 2>/dev/null || true
echo "orbal front-end: $ours % of a core"

if command -v smplayer >/dev/null; then
  smplayer -minigui "$long" >/dev/null 2>&1 &
  spid=$!
  pids+=("$spid")
  if smp=$(player_child "$spid"); then
    pids+=("$smp")
    sleep 3
    theirs=$(measure "$spid")
    kill "$smp" 2>/dev/null || true
    kill "$spid"; wait "$spid" 2>/dev/null || true
    echo "SMPlayer front-end: $theirs % of a core"
    awk -v a="$ours" -v b="$theirs" 'BEGIN {if (b > 0) printf "ratio orbal/SMPlayer: %.3f (target <= 0.2)\n", a / b}'
  else
    echo "SMPlayer started no player for the song - no comparison" >&2
  fi
else
  echo "SMPlayer not installed (apt-get install smplayer) - no comparison"
fi
