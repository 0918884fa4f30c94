#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ (clang, libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs each for a bounded time
# on a working copy of its seed corpus (fuzz/corpus/<target>/), as many at
# once as there are cores. A crash, a broken property, a leak or a hang fails
# the script; the input that caused it is kept in build-fuzz/findings/.
#   ZAVUV_FUZZ_SECONDS   seconds per target (default 45)
#   ./scripts/fuzz.sh [TARGET...]   only these targets (default: every corpus folder)
set -euo pipefail
source "$(dirname "$0")/setup.sh" --functions
fuzz_packages=(clang libclang-rt-14-dev)
zavuv_install_missing "${zavuv_packages[@]}" "${fuzz_packages[@]}"

seconds="${ZAVUV_FUZZ_SECONDS:-45}"
build="$ZAVUV_ROOT/build-fuzz"
started=$SECONDS
# -O1: the targets run nearly as fast as at -O2, and the build is quicker.
zavuv_build_in "$build" fuzz_targets -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" \
    -DCMAKE_CXX_COMPILER=clang++ -DZAVUV_FUZZ=ON \
    "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
echo "fuzz: build: $((SECONDS - started)) s" >&2

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for folder in "$ZAVUV_ROOT"/fuzz/corpus/*/; do
        targets+=("$(basename "$folder")")
    done
fi

# One target on its working corpus; libFuzzer adds what it finds there.
run_target() {
    local name="$1" corpus="$build/corpus/$1"
    mkdir -p "$corpus" "$build/findings"
    cp -r "$ZAVUV_ROOT/fuzz/corpus/$name/." "$corpus/"
    "$build/fuzz/fuzz_$name" "$corpus" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/findings/$name-" \
        >"$build/$name.log" 2>&1
}

summary() {
    local name="$1" log="$build/$1.log"
    local runs rate seeds corpus
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    seeds=$(find "$ZAVUV_ROOT/fuzz/corpus/$name" -type f | wc -l)
    corpus=$(find "$build/corpus/$name" -type f | wc -l)
    echo "fuzz $name: ${runs:-?} runs, ${rate:-?} exec/s, corpus $seeds seeds -> $corpus inputs" >&2
}

started=$SECONDS
passed=0
failed=()
pending=("${targets[@]}")
while [ ${#pending[@]} -gt 0 ]; do
    batch=("${pending[@]:0:$(nproc)}")
    pending=("${pending[@]:${#batch[@]}}")
    pids=()
    for name in "${batch[@]}"; do
        run_target "$name" &
        pids+=($!)
    done
    for i in "${!batch[@]}"; do
        name="${batch[$i]}"
        if wait "${pids[$i]}"; then
            passed=$((passed + 1))
            summary "$name"
        else
            failed+=("$name")
            echo "fuzz $name: FAILED, the end of $build/$name.log:" >&2
            tail -n 60 "$build/$name.log" >&2
        fi
    done
done
echo "fuzz: runs: $((SECONDS - started)) s" >&2
echo "fuzz: $passed passed, ${#failed[@]} failed"
[ ${#failed[@]} -eq 0 ]
