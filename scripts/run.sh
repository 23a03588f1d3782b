#!/usr/bin/env bash
# Sets up, builds and runs the demo. Arguments go to the demo (see --help).
# Without arguments and without a display, it captures the whole demo to
# build/demo.mp4 (1280x720, 30 frames a second): there is nothing to watch it on.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build
if [ $# -eq 0 ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display; capturing the demo to $(pwd)/demo.mp4 (1280x720, 30 fps)" >&2
  exec ./demo --capture demo.mp4 --fps 30 --mode 1280x720
fi
exec ./demo "$@"
