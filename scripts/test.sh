#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
ORBAL_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
. "$ORBAL_ROOT/scripts/packages.sh"
orbal_install_packages
orbal_build

# Window tests need an X server: use the one we are given, else start our own.
xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 99); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    break
  done
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
fi
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true' EXIT

ctest --test-dir "$ORBAL_ROOT/build" --output-on-failure -j2 --timeout 300
