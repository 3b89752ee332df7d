#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
ORBAL_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
. "$ORBAL_ROOT/scripts/packages.sh"
orbal_install_packages
orbal_build

# Window tests need an X server: use the one we are given, else start our own.
orbal_ensure_display

ctest --test-dir "$ORBAL_ROOT/build" --output-on-failure -j2 --timeout 300
