#!/usr/bin/env bash
# The long soak runs: play/next/stop cycles of the engine with the real mplayer on 0.3 s
# songs, and an hour's worth of status polls (the adapter's every 500 ms and the main
# window's every second, so 7,200 rounds) against the stand-in xmms. Prints the open
# descriptors, children and resident memory of the first and last quarter of each run
# (of the front-end, and of the stand-in); they should stay flat. The same tests run a few
# hundred cycles in the suite.
# Usage: benchmarks/soak/run.sh [cycles] [polls]   (defaults 2000 and 7200; build dir:
# $ORBAL_BUILD, default ./build)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cycles="${1:-2000}"
polls="${2:-7200}"
build="${ORBAL_BUILD:-$root/build}"
bin="$build/bin"
[ -x "$bin/video_engine_process_test" ] && [ -x "$bin/audio_xmmsplayer_test" ] ||
  { echo "no tests in $bin: build first (or set ORBAL_BUILD)" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home"
export ORBAL_SOURCE_DIR="$root" ORBAL_BINARY_DIR="$build" TMPDIR="$work" HOME="$work/home"
export QT_QPA_PLATFORM=offscreen DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"

run() {
  local label="$1" n="$2" program="$3" filter="$4" start
  start=$(date +%s)
  echo "== $label"
  ORBAL_SOAK_CYCLES="$n" "$bin/$program" --gtest_filter="$filter" --gtest_brief=1 |
    grep -E '^(engine|front-end|stand-in):|FAILED|Failure' || true
  echo "   $(( $(date +%s) - start )) s"
}
run "$cycles play/next/stop cycles, real mplayer" "$cycles" video_engine_process_test \
  '*playNextStopCyclesLeaveNothingBehind*'
run "$polls status polls against the stand-in xmms" "$polls" audio_xmmsplayer_test \
  '*longRunOfStatusPollsLeavesNothingBehind*'
