#!/usr/bin/env bash
# Front-end CPU while playing: orbal in its vertical form (title scrolling, lyrics shown)
# and SMPlayer playing the same file, each over the same stretch under Xvfb, the mplayer
# children excluded. Prints both shares of a core and their ratio (target: orbal at most
# a fifth of SMPlayer's). Needs the Debian package smplayer for the comparison.
# Usage: benchmarks/cpu/run.sh [seconds]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
secs="${1:-60}"
demo="$(mktemp -d)/demo"
"$root/scripts/make-demo.sh" "$root/build" "$demo" >/dev/null
export HOME="$(mktemp -d)"
mkdir -p "$HOME/.mplayer" && printf 'ao=null\n' > "$HOME/.mplayer/config"
song="$demo/mmc/mmca1/music/02 Evening Walk.mp3"
# A long song so playback outlasts the measurement.
long="$demo/mmc/mmca1/music/long.mp3"
sox "$song" "$(dirname "$long")/long.wav" repeat $((secs / 10 + 2)) && lame --quiet "$(dirname "$long")/long.wav" "$long"
cp "$demo/mmc/mmca1/music/02 Evening Walk.lrc" "$demo/mmc/mmca1/music/long.lrc"
printf '%s\n' "$long" > "$demo/.xmms/xmms.m3u"
mkdir -p "$demo/.xmms" && printf '[tvskin]\nEnxmms=false\nshowlrc=true\n' > "$demo/.xmms/tavrin_cfg"

if [ -z "${DISPLAY:-}" ]; then
  Xvfb :96 -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null || true' EXIT
  export DISPLAY=:96
  sleep 1
fi

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)

measure() { # pid -> percent of one core over $secs
  local t0 t1
  t0=$(ticks "$1"); sleep "$secs"; t1=$(ticks "$1")
  awk -v a="$t0" -v b="$t1" -v hz="$hz" -v s="$secs" 'BEGIN {printf "%.3f", 100 * (b - a) / hz / s}'
}

cd "$demo"
./orbal >/dev/null 2>&1 &
opid=$!
wid=$(xdotool search --sync --onlyvisible --pid "$opid" | head -1)
xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key --window "$wid" Return
sleep 2
ours=$(measure "$opid")
kill "$opid"; wait "$opid" 2>/dev/null || true
echo "orbal front-end: $ours % of a core"

if command -v smplayer >/dev/null; then
  smplayer -minigui "$long" >/dev/null 2>&1 &
  spid=$!
  sleep 5
  theirs=$(measure "$spid")
  kill "$spid"; wait "$spid" 2>/dev/null || true
  pkill -f "mplayer.*long.mp3" || true
  echo "SMPlayer front-end: $theirs % of a core"
  awk -v a="$ours" -v b="$theirs" 'BEGIN {printf "ratio orbal/SMPlayer: %.3f\n", a / b}'
else
  echo "SMPlayer not installed (apt-get install smplayer) - no comparison"
fi
