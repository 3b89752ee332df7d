#!/usr/bin/env bash
# Assembles a demo application folder: the programs, both skins, settings, the stand-in
# xmms, mplayer, the cutter's programs, a saved playlist and a small generated music
# library on the memory card, with lyrics that follow the songs.
# Usage: make-demo.sh BUILD_DIR DEMO_DIR
set -euo pipefail
ORBAL_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
demo="$2"
mkdir -p "$demo"
demo="$(cd "$demo" && pwd)"
card="$demo/mmc/mmca1"

mkdir -p "$demo/bin" "$demo/.xmms" "$demo/kerfa" "$demo/playlist" "$card/music" "$card/video" "$card/.system"
cp -f "$build/bin/orbal" "$demo/orbal"
[ -x "$build/bin/xmms" ] && cp -f "$build/bin/xmms" "$demo/bin/xmms"
ln -sfn "$(command -v mplayer)" "$demo/mplayer"
rm -rf "$demo/skins"
cp -r "$ORBAL_ROOT/skins" "$demo/skins"
rm -rf "$demo/skins/"*/preview* 2>/dev/null || true

# The ringtone cutter's programs and pictures.
[ -x "$build/bin/mp3asm" ] && cp -f "$build/bin/mp3asm" "$demo/kerfa/mp3asm"
[ -x "$build/bin/vellum" ] && cp -f "$build/bin/vellum" "$demo/kerfa/vellum"
command -v mp3gain >/dev/null && ln -sfn "$(command -v mp3gain)" "$demo/kerfa/mp3gain"
[ -d "$ORBAL_ROOT/data/kerfa" ] && cp -f "$ORBAL_ROOT/data/kerfa/"* "$demo/kerfa/"

# Songs: short tunes played as plucked notes; made once, kept across runs.
tune() { # name format notes...
  local out="$card/music/$1" fmt="$2"; shift 2
  [ -s "$out" ] && return 0
  local tmp; tmp="$(mktemp -d)"
  local i=0 parts=()
  for f in "$@"; do
    sox -n -r 44100 -c 2 -b 16 "$tmp/n$i.wav" synth 0.5 pluck "$f" vol 0.6 2>/dev/null
    parts+=("$tmp/n$i.wav"); i=$((i + 1))
  done
  sox "${parts[@]}" "$tmp/song.wav" 2>/dev/null
  case "$fmt" in
    mp3) lame --quiet -b 128 "$tmp/song.wav" "$out" ;;
    *) sox "$tmp/song.wav" "$out" ;;
  esac
  rm -rf "$tmp"
}
scale="262 294 330 349 392 440 494 523"
tune "01 Morning Scale.mp3" mp3 $scale $scale $scale $scale $scale
tune "02 Evening Walk.mp3" mp3 392 330 330 349 294 294 262 294 330 349 392 392 392 392 330 330 349 294 294 262 330 392 392 262 262 294 294 294 294 294 330 349 330 330 330 330 330 349 392
tune "03 Night Bells.ogg" ogg 523 494 440 392 349 330 294 262 523 494 440 392 349 330 294 262 523 392 330 262 523 392 330 262 523 494 440 392 349 330 294 262
tune "04 Raindrops.wav" wav 440 523 440 523 392 494 392 494 349 440 349 440 330 392 330 392 294 349 294 349 262 330 262 330

cat > "$card/music/01 Morning Scale.lrc" <<'LRC'
[ti:Morning Scale]
[ar:ORBAL demo]
[00:00.00]Up the scale we go
[00:04.00]Eight little notes
[00:08.00]And up once more
[00:12.00]The morning is bright
[00:16.00]One last climb
LRC
cat > "$card/music/02 Evening Walk.lrc" <<'LRC'
[ti:Evening Walk]
[00:00.50]Walking down the street
[00:04.00][00:12.00]The lamps light one by one
[00:08.00]A tune to keep the beat
[00:16.00]Home before the night is done
LRC
# The third song's lyrics are Chinese, stored GBK-encoded as phone users keep them.
printf '%s\n' "[ti:夜钟]" "[00:00.00]夜晚的钟声" "[00:04.00]一声一声地响" "[00:08.00]星星在天上" "[00:12.00]月亮照着窗" \
  | iconv -f UTF-8 -t GBK > "$card/music/03 Night Bells.LRC"

# A short video for mplayer mode.
if [ ! -s "$card/video/clip.avi" ] && command -v mencoder >/dev/null && command -v convert >/dev/null; then
  tmp="$(mktemp -d)"
  for i in $(seq 10 57); do
    convert -size 160x120 "xc:hsl($((i * 7)),80%,45%)" -fill white -pointsize 28 -gravity center \
      -annotate 0 "ORBAL $i" "$tmp/f$i.png" 2>/dev/null || true
  done
  (cd "$tmp" && mencoder -really-quiet "mf://*.png" -mf fps=12:type=png -ovc lavc -lavcopts vcodec=mpeg4 \
    -o "$card/video/clip.avi" >/dev/null 2>&1) || true
  rm -rf "$tmp"
fi

# The player's playlist and a saved list.
: > "$demo/.xmms/xmms.m3u"
for f in "$card/music/"*.mp3 "$card/music/"*.ogg "$card/music/"*.wav "$card/video/"*.avi; do
  [ -f "$f" ] && printf '%s\n' "$f" >> "$demo/.xmms/xmms.m3u"
done
grep -v '\.avi$' "$demo/.xmms/xmms.m3u" > "$demo/playlist/Music only.m3u" || true
echo "demo ready in $demo"
