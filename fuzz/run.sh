#!/usr/bin/env bash
# Runs each fuzz program for the given number of seconds on a scratch copy of its seed
# corpus (the seeds in the repository stay as they are) and reports its executions.
#   fuzz/run.sh [--runs N] <seconds> [target...]     all targets when none are named
# With --runs a program also stops after N executions, whichever comes first.
# Programs come from build-fuzz/bin (or $ORBAL_FUZZ_BIN). A finding leaves its input in
# build-fuzz/findings/<target>/ and makes the exit status 1.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="${ORBAL_FUZZ_BIN:-$root/build-fuzz/bin}"
runs_limit=()
if [ "${1:-}" = "--runs" ] && [ $# -ge 2 ]; then
  runs_limit=(-runs="$2")
  shift 2
fi
[ $# -ge 1 ] || { echo "usage: $0 [--runs N] <seconds> [target...]" >&2; exit 2; }
seconds="$1"
shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for dir in "$root"/fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

# Scratch files of the targets go to memory where there is some: they are rewritten per run.
base="/tmp"
[ -d /dev/shm ] && [ -w /dev/shm ] && base="/dev/shm"
work="$(mktemp -d "$base/orbal-fuzz-run.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# Without an allocation stack kept per allocation the programs run about twice as fast; a
# finding replayed on its own (build-fuzz/bin/fuzz_<target> <input>) reports the full stacks.
export ASAN_OPTIONS="${ASAN_OPTIONS:-malloc_context_size=0}"

status=0
for t in "${targets[@]}"; do
  program="$bin/fuzz_$t"
  if [ ! -x "$program" ]; then
    echo "$t: no program $program" >&2
    status=1
    continue
  fi
  findings="$(dirname "$bin")/findings/$t"
  mkdir -p "$work/$t/corpus" "$work/$t/tmp" "$findings"
  cp "$root/fuzz/corpus/$t"/* "$work/$t/corpus/"
  log="$work/$t/log"
  # Inputs made of lines or packets gain nothing from length but more of them, each a file
  # check or a parse: shorter inputs keep a long run fast.
  case "$t" in
    m3u) max_len=512 ;;
    lrc | mplayer | settings | xmmsserver) max_len=1024 ;;
    skin) max_len=2048 ;;
    *) max_len=4096 ;;
  esac
  TMPDIR="$work/$t/tmp" "$program" "$work/$t/corpus" -max_total_time="$seconds" "${runs_limit[@]}" \
    -timeout=10 -rss_limit_mb=2048 -max_len="$max_len" -print_final_stats=1 \
    -artifact_prefix="$findings/" >"$log" 2>&1
  rc=$?
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)"
  took="$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n1)"
  if [ $rc -eq 0 ]; then
    echo "$t: ${runs:-?} executions in ${took:-$seconds} s, nothing found"
  else
    status=1
    echo "$t: FINDING after ${runs:-?} executions (exit $rc); input in $findings/"
    grep -E 'ERROR|check failed|SUMMARY|^    #[0-9]+ ' "$log" | head -n 20
  fi
done
exit $status
