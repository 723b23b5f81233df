#!/usr/bin/env bash
# Builds every libFuzzer target with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz/ (FUZZ_BUILD overrides) and runs each for FUZZ_SECONDS (default 60) seconds, from
# its seed corpus in tests/fuzz/corpus/<target>/. Any crash, sanitizer report, leak, time-out or
# out-of-memory fails the command; the input that caused it is kept in fuzz-artifacts/ of the
# build folder. Compiler warnings are errors (KAVRO_WERROR). Prints the executions of each
# target at the end.
#
#   scripts/fuzz.sh [TARGET...]     (default: every folder of tests/fuzz/corpus)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${FUZZ_SECONDS:-60}
build=${FUZZ_BUILD:-$root/build-fuzz}
jobs=$(nproc)

if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for folder in tests/fuzz/corpus/*/; do targets+=("$(basename "$folder")"); done
fi

echo "== Fuzzing: ${targets[*]} (${seconds} s each)"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKAVRO_FUZZ=ON -DKAVRO_SANITIZE=ON -DKAVRO_WERROR=ON >/dev/null
cmake --build "$build" -j "$jobs" --target "${targets[@]/%/_fuzzer}"

logs=$build/fuzz-logs
artifacts=$build/fuzz-artifacts
rm -rf "$logs"
mkdir -p "$logs" "$artifacts"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# One target: its own working corpus (new finds), seeded from the committed corpus. The target
# may change its current directory, so every path is absolute.
run_one() {
    local target=$1
    local work=$build/fuzz-work/$target
    mkdir -p "$work"
    "$build/tests/fuzz/${target}_fuzzer" -max_total_time="$seconds" -timeout=25 \
        -rss_limit_mb=3072 -close_fd_mask=3 -print_final_stats=1 \
        -artifact_prefix="$artifacts/$target-" "$work" "$root/tests/fuzz/corpus/$target" \
        >"$logs/$target.log" 2>&1
}

# As many targets at a time as there are cores; each keeps its 60 s.
pids=()
names=()
failed=()
for target in "${targets[@]}"; do
    run_one "$target" &
    pids+=($!)
    names+=("$target")
    if [ ${#pids[@]} -ge "$jobs" ]; then
        if ! wait "${pids[0]}"; then failed+=("${names[0]}"); fi
        pids=("${pids[@]:1}")
        names=("${names[@]:1}")
    fi
done
for i in "${!pids[@]}"; do
    if ! wait "${pids[$i]}"; then failed+=("${names[$i]}"); fi
done

printf '%-10s %14s %10s\n' target executions exec/s
for target in "${targets[@]}"; do
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$logs/$target.log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$logs/$target.log" | tail -1)
    printf '%-10s %14s %10s\n' "$target" "${runs:-?}" "${rate:-?}"
done

if [ ${#failed[@]} -gt 0 ]; then
    for target in "${failed[@]}"; do
        echo "== ${target}_fuzzer found a fault (log: $logs/$target.log):"
        grep -E -A25 'ERROR|runtime error|Test unit written|timeout|out-of-memory' \
            "$logs/$target.log" | head -60 || tail -40 "$logs/$target.log"
    done
    echo "fuzzing failed: ${failed[*]} (inputs in $artifacts)"
    exit 1
fi
echo "fuzzing passed: ${#targets[@]} targets, no findings"
