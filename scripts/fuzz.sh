#!/usr/bin/env bash
# Builds the libFuzzer configuration into build-fuzz/ (clang; every compile
# unit instrumented for coverage, AddressSanitizer and UndefinedBehaviorSanitizer)
# and fuzzes one target, or all of them one after another, from its seed
# corpus for SECONDS each (default 600).
#
#   scripts/fuzz.sh                 # every target, 10 minutes each
#   scripts/fuzz.sh xfile 120       # fuzz_xfile for 2 minutes
#
# New inputs collect in build-fuzz/fuzz/<target>/corpus/, failing inputs in
# build-fuzz/fuzz/<target>/findings/, the log in build-fuzz/fuzz/<target>/log.
# At the end it prints one line per target: the executions and how many a
# second, the coverage (libFuzzer's "cov" and "ft" counts) after the seeds and
# at the end, and the findings.
# BUILD_DIR picks another folder; FUZZ_FLAGS adds libFuzzer flags.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${BUILD_DIR:-build-fuzz}
seconds=${2:-600}

if [[ ! -f "$dir/CMakeCache.txt" ]]; then
    CC=clang CXX=clang++ cmake -S . -B "$dir" -DDEMO_LIBFUZZER=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
targets=()
if [[ $# -ge 1 && -n "$1" && "$1" != all ]]; then
    targets=("${1#fuzz_}")
else
    for source in tests/fuzz/*.cpp; do
        name=$(basename "$source" .cpp)
        [[ $name == driver ]] || targets+=("$name")
    done
fi
build=()
for name in "${targets[@]}"; do
    [[ -f tests/fuzz/$name.cpp ]] || { echo "fuzz.sh: no fuzz target \"$name\" in tests/fuzz" >&2; exit 2; }
    build+=(--target "fuzz_$name" --target "fuzz_${name}_corpus")
done
cmake --build "$dir" -j"$(nproc)" "${build[@]}"

summary=()
failed=0
for name in "${targets[@]}"; do
    work=$dir/fuzz/$name
    mkdir -p "$work/corpus" "$work/findings"
    status=0
    # Leaks count as findings; a single input may take 10 s at most.
    ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} \
    "$dir/tests/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$work/findings/" ${FUZZ_FLAGS:-} "$work/corpus" "$work/seeds" >"$work/log" 2>&1 || status=$?
    inited=$(grep -m1 -E '^#[0-9]+[[:space:]]+INITED' "$work/log" | grep -oE 'cov: [0-9]+ ft: [0-9]+' ||
        echo "cov: ? ft: ?")
    last=$(grep -E '^#[0-9]+[[:space:]]' "$work/log" | grep -oE 'cov: [0-9]+ ft: [0-9]+' | tail -n1 || true)
    runs=$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$work/log" | grep -oE '[0-9]+$' || true)
    if [[ -z $runs ]]; then
        runs=$(grep -oE '^#[0-9]+' "$work/log" | tail -n1 | tr -d '#' || echo "?")
    fi
    rate=$(grep -oE 'stat::average_exec_per_sec: +[0-9]+' "$work/log" | grep -oE '[0-9]+$' || echo "?")
    findings=$(find "$work/findings" -type f | wc -l)
    summary+=("$(printf '%-18s %10s executions (%6s a second)   start %-18s end %-18s findings %s' \
        "fuzz_$name" "$runs" "$rate" "$inited" "${last:-$inited}" "$findings")")
    if [[ $status -ne 0 || $findings -ne 0 ]]; then
        failed=1
        summary+=("    status $status; see $work/log and $work/findings/")
    fi
done
echo
echo "Fuzzing, $seconds s a target:"
printf '%s\n' "${summary[@]}"
exit $failed
