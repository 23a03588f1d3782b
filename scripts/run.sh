#!/usr/bin/env bash
# Sets up, builds and runs the demo. Arguments go to the demo (see --help);
# without a display it renders headless by itself.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build
exec ./demo "$@"
