#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
ORBAL_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
. "$ORBAL_ROOT/scripts/packages.sh"
orbal_install_packages
orbal_build

# Window tests need an X server: use the one we are given, else start our own.
xvfb_pid=""
display_file=""
if [ -z "${DISPLAY:-}" ]; then
  display_file="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$display_file")"
fi
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; [ -n "$display_file" ] && rm -f "$display_file"; true' EXIT

ctest --test-dir "$ORBAL_ROOT/build" --output-on-failure -j2 --timeout 300
