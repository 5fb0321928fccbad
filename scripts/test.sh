#!/usr/bin/env bash
# Builds and runs every test: unit, gl and e2e (the gl and e2e tests start
# their own Xvfb servers).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
GLOWSAVER_CMAKE_ARGS="-DGLOWSAVER_WERROR=ON ${GLOWSAVER_CMAKE_ARGS:-}" "$top/scripts/build.sh"
cd "${GLOWSAVER_BUILD:-$top/build}"
export LIBGL_ALWAYS_SOFTWARE=1
ctest --output-on-failure -j 2 --timeout 300 "$@"
