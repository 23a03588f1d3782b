#!/usr/bin/env bash
# Builds the demo's web page into build-web/site/ (index.html, demo.js,
# demo.wasm, data.pak, shaders.cache, music/music.mp3) and serves that folder on
# http://localhost:8080/ until Ctrl-C. With --build it only builds.
# The pack, its shaders' translations and the music come from the native
# build (build/, or BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
native=${BUILD_DIR:-build}
web=${WEB_BUILD_DIR:-build-web}
# Debian's emscripten runs its optimiser on Debian's node modules.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
if [[ ! -f "$native/CMakeCache.txt" ]]; then
  cmake -S . -B "$native" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" >/dev/null
fi
cmake --build "$native" --target content -j"$(nproc)"
if [[ ! -f "$web/CMakeCache.txt" ]]; then
  emcmake cmake -S . -B "$web" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$web" -j"$(nproc)"
mkdir -p "$web/site/music"
cp "$native/data.pak" "$web/site/data.pak"
cp "$native/shaders.cache" "$web/site/shaders.cache"
cp "$native/music/music.mp3" "$web/site/music/music.mp3"
[[ ${1:-} == --build ]] && exit 0
echo "web: serving $(pwd)/$web/site on http://localhost:8080/ until Ctrl-C"
cd "$web/site" && exec python3 -m http.server 8080 --bind 127.0.0.1 >/dev/null 2>&1
