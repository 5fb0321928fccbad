#!/usr/bin/env bash
# Configures and builds everything into build/ (the install tree is build/tree).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${GLOWSAVER_BUILD:-$top/build}
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${GLOWSAVER_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j "$(nproc)"
