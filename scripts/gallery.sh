#!/usr/bin/env bash
# Takes the README's gallery again into docs/: the strip (a frame every 5 s at
# 320x240) and each scene's pictures at 800x600, headless on the fixed-step
# clock. Run after scripts/build.sh; takes a few minutes without a GPU.
#   scripts/gallery.sh [OUTDIR]   (default docs/)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$(cd "${1:-$root/docs}" && pwd)"
demo="$root/build/demo"
[ -x "$demo" ] || { echo "gallery: $demo is missing; run scripts/build.sh first" >&2; exit 1; }

shots=()
shot() { shots+=(--shot "$1:$out/$2.png"); }

# The strip: 0.5 s, then every 5 s; the last at the final frame before 110 s.
shots=()
shot 0.5 strip-0.5
for t in $(seq 5 5 105); do shot "$t" "strip-$t"; done
shot 109.9 strip-110
(cd "$root/build" && "$demo" --mode 320x240 --fps 10 "${shots[@]}")

# Every scene but the shatter at twenty frames a second, from 0.
shots=()
for pair in 0.45:a 1.5:b 2.6:c 4.6:d 9:e; do shot "${pair%%:*}" "title-${pair##*:}"; done
for pair in 11:a 12.5:b 14.5:c 16:d; do shot "${pair%%:*}" "handdraw-${pair##*:}"; done
for pair in 18:a 22:b 24:c 26:d 31:e; do shot "${pair%%:*}" "handtohatch-${pair##*:}"; done
for t in 34 35 38 41 45 52 56 60 66 70 72.5; do shot "$t" "hatchtonormal-$t"; done
for t in 90.1 90.3 90.4 92 95 95.5 96 96.4 97.5 98 100 101 103 104 106 107.5 109 109.9; do
    shot "$t" "star-$t"
done
(cd "$root/build" && "$demo" --mode 800x600 --fps 20 "${shots[@]}")

# The shatter at ten frames a second, whose pieces move a step a frame.
shots=()
for t in 74 76 77 78 80 82 83 84 86 87.2 87.3 88; do shot "$t" "shatter-$t"; done
(cd "$root/build" && "$demo" --mode 800x600 --fps 10 --start 73 --until 89 "${shots[@]}")
echo "gallery: pictures written to $out"
