#!/usr/bin/env bash
# Builds the fuzz programs with clang into build-fuzz/ and runs each for a few seconds
# (default 5; the first argument changes it), so they keep building and running. Fails on
# a finding.
set -euo pipefail
ORBAL_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
. "$ORBAL_ROOT/scripts/packages.sh"
orbal_install_packages
# Only the folders the fuzzed readers live in (the stand-ins are always built).
cmake -S "$ORBAL_ROOT" -B "$ORBAL_ROOT/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DORBAL_FUZZ=ON \
  -DORBAL_ONLY="platform;state;dropin;audio;video;lyrics;playlist;cutter;skin;tagtool" >/dev/null
cmake --build "$ORBAL_ROOT/build-fuzz" -j"$(nproc)"
"$ORBAL_ROOT/fuzz/run.sh" "${1:-5}"
