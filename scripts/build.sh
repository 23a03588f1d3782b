#!/usr/bin/env bash
# Installs what is missing, then configures and builds into build/.
# BUILD_TYPE picks the configuration (RelWithDebInfo, Debug, Release, Asan).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
type=${BUILD_TYPE:-RelWithDebInfo}
dir=${BUILD_DIR:-build}
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE="$type" >/dev/null
cmake --build "$dir" -j"$(nproc)"
