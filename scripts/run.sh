#!/usr/bin/env bash
# Installs what is missing, builds everything, assembles the demo application folder
# demo/ and starts orbal in it.
set -euo pipefail
ORBAL_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
. "$ORBAL_ROOT/scripts/packages.sh"
orbal_install_packages
orbal_build
"$ORBAL_ROOT/scripts/make-demo.sh" "$ORBAL_ROOT/build" "$ORBAL_ROOT/demo"
cd "$ORBAL_ROOT/demo"
exec ./orbal
