#!/usr/bin/env bash
# Takes the README's screenshots from the real program: a demo folder, orbal under its own
# X server, real clicks, and a grab of the window in each form for each shipped skin.
# Usage: screenshots.sh [BUILD_DIR] [OUT_DIR]   (defaults: build, docs/screenshots)
set -euo pipefail
ORBAL_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$ORBAL_ROOT/build}" && pwd)"
out="${2:-$ORBAL_ROOT/docs/screenshots}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
work="$(mktemp -d)"
display_file="$(mktemp)"
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb=$!
orbal=""
cleanup() {
  [ -n "$orbal" ] && kill "$orbal" 2>/dev/null
  pkill -f "$work/demo" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null
  rm -rf "$work" "$display_file"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$display_file")"
export HOME="$work/home"
mkdir -p "$HOME/.mplayer"
printf 'ao=null\n' > "$HOME/.mplayer/config"
"$ORBAL_ROOT/scripts/make-demo.sh" "$build" "$work/demo" >/dev/null
cd "$work/demo"

# The centre of a skin element, as "x y".
centre() { sed -n "s/^$2=//p" "skins/$1/skins.conf" | awk -F, '{print int($1 + $3 / 2), int($2 + $4 / 2)}'; }

start() { # skin
  printf '[tvskin]\nCurrentSkin=%s\nshowlrc=true\n' "$1" > .xmms/tavrin_cfg
  ./orbal >/dev/null 2>&1 &
  orbal=$!
  window="$(xdotool search --sync --onlyvisible --pid "$orbal" | head -n1)"
  sleep 1
}
click() { xdotool mousemove --window "$window" $1 click 1; sleep "${2:-1}"; }
grab() { import -window "$window" "$out/$1.png"; }
stop() { kill "$orbal"; wait "$orbal" 2>/dev/null || true; orbal=""; pkill -f "$work/demo/mplayer" || true; }

for skin in default ivory; do
  start "$skin"
  click "$(centre "$skin" play)" 3
  grab "$skin-vertical"
  click "$(centre "$skin" H_win)" 2
  grab "$skin-horizontal"
  stop
  start "$skin"
  click "$(centre "$skin" play)" 2
  click "$(centre "$skin" mini_win)" 2
  # The mini bar is 240 x 25 with its lyric strip below it.
  import -window "$window" -crop 240x48+0+0 "$out/$skin-mini.png"
  stop
done
echo "screenshots in $out"
