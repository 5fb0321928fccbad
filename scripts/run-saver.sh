#!/usr/bin/env bash
# Builds and starts the saver full screen on the current display. With no
# display, starts Xvfb, runs the saver for a few seconds, and leaves a
# screenshot whose path it prints.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
saver="${GLOWSAVER_BUILD:-$top/build}/tree/glowsaver"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$saver" "$@"
fi

# No display: a virtual one of our own.
display=""
for n in $(seq 70 99); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "run-saver: no free display number" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x720x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$saver_pid" 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY=$display LIBGL_ALWAYS_SOFTWARE=1
for _ in $(seq 1 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$saver" "$@" &
saver_pid=$!
# Long enough for the star-burst intro to give way to the tunnel.
sleep "${GLOWSAVER_RUN_SECONDS:-12}"
shot="${GLOWSAVER_SCREENSHOT:-$top/build/glowsaver-screenshot.png}"
import -window root "$shot"
kill -TERM "$saver_pid" 2>/dev/null || true
wait "$saver_pid" 2>/dev/null || true
echo "run-saver: screenshot of the running saver: $shot"
