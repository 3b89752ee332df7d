#!/usr/bin/env bash
# Builds everything with AddressSanitizer + UndefinedBehaviorSanitizer (+ LeakSanitizer)
# into build-asan/ and runs the tests there; fails on any failed test and on any report,
# including those of the programs the tests start (their reports go to
# build-asan/sanitizer-logs/). Tests named by ORBAL_SANITIZE_EXCLUDE (a ctest -E regex)
# are left out, for when time is short.
set -euo pipefail
ORBAL_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
. "$ORBAL_ROOT/scripts/packages.sh"
orbal_install_packages
build="$ORBAL_ROOT/build-asan"
cmake -S "$ORBAL_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORBAL_SANITIZE=ON >/dev/null
cmake --build "$build" -j"$(nproc)"

orbal_ensure_display

logs="$build/sanitizer-logs"
rm -rf "$logs"
mkdir -p "$logs"
status=0
exclude=()
[ -n "${ORBAL_SANITIZE_EXCLUDE:-}" ] && exclude=(-E "$ORBAL_SANITIZE_EXCLUDE")
ctest --test-dir "$build" --output-on-failure -j2 --timeout 900 "${exclude[@]}" || status=$?
# A process killed while it ends (a test's SIGKILL during the leak check) can leave an
# empty log behind: that is no report.
empty="$(find "$logs" -type f -empty)"
[ -n "$empty" ] && echo "empty sanitizer logs (no report):" $empty
reports="$(find "$logs" -type f ! -empty)"
if [ -n "$reports" ]; then
  echo "sanitizer reports:"
  for f in $reports; do
    echo "==> $f"
    cat "$f"
  done
  status=1
fi
exit "$status"
