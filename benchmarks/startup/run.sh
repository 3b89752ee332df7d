#!/usr/bin/env bash
# Start-up time (start to window mapped, median of N runs) and resident memory 10 s after
# start, of orbal in the demo folder under Xvfb. Optional comparison: a bare Qt window is
# not built here; the targets are 60 ms and 40 MB.
# Usage: benchmarks/startup/run.sh [runs]   (after ./scripts/run.sh or a build + make-demo)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
runs="${1:-15}"
build="$root/build"
demo="$(mktemp -d)/demo"
"$root/scripts/make-demo.sh" "$build" "$demo" >/dev/null
export HOME="$(mktemp -d)"
mkdir -p "$HOME/.mplayer" && printf 'ao=null\n' > "$HOME/.mplayer/config"

if [ -z "${DISPLAY:-}" ]; then
  Xvfb :97 -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null || true' EXIT
  export DISPLAY=:97
  sleep 1
fi

times=()
cd "$demo"
for i in $(seq "$runs"); do
  start=$(date +%s%N)
  ./orbal >/dev/null 2>&1 &
  pid=$!
  xdotool search --sync --onlyvisible --pid "$pid" >/dev/null 2>&1
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000 )))
  if [ "$i" -eq "$runs" ]; then
    sleep 10
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  fi
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
printf 'start to window mapped: median %d.%03d ms over %d runs (target < 60 ms)\n' $((median / 1000)) $((median % 1000)) "$runs"
printf 'resident memory 10 s after start: %d KB (target < 40960 KB)\n' "$rss"
