#!/usr/bin/env bash
# Installs every Debian package the project needs. Idempotent and quiet when
# everything is already there; uses sudo when not run as root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libsdl2-dev            # windows, input, audio output
  libepoxy-dev libegl-dev libgl1-mesa-dri libegl-mesa0   # OpenGL loading, headless EGL, llvmpipe
  libmpg123-dev          # MP3 decoding for the music
  libkissfft-dev         # FFT behind the music spectrum
  libstb-dev             # image decoding and encoding
  libmp3lame-dev         # MP3 encoding in the content generator
  glslang-dev            # HLSL shaders to SPIR-V in the shader compiler stand-in
  libspirv-cross-c-shared-dev   # SPIR-V to GLSL 3.30 / GLSL ES 3.00 (its static C++ libraries)
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev   # libFuzzer targets
  fonts-comic-neue       # hand-lettered face for the generated word pictures
  xvfb xauth x11-utils  # virtual display for window screenshots, the --gles window test (xwininfo)
  ffmpeg                 # encoding captures to H.264/AAC video
  ccache                 # cheap rebuilds and several build folders
  clang-format           # the tree's formatting, checked by a test
  emscripten             # the web page: C++ to WebAssembly, WebGL 2 through its GLES 3 headers
  chromium python3       # the page's test: headless chromium on SwiftShader, served from localhost
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
