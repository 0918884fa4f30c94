#!/usr/bin/env bash
# The whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/), then the GUI tests, where the worker thread meets the window
# thread, with ThreadSanitizer (build-tsan/). Any report fails the script.
set -euo pipefail
source "$(dirname "$0")/setup.sh" --functions
zavuv_install_missing

started=$SECONDS
asan="$ZAVUV_ROOT/build-asan"
# Only what the suite runs: no benchmarks, no document tools.
# Unoptimised with line tables only: the sanitizers find the same faults, and
# the build (most of this script's time) takes half as long as at -O1 with
# full debug information. The test files are compiled in batches: the
# sanitizers instrument GoogleTest's inline code once per batch instead of
# once per file, which halves the test programs' build.
zavuv_build_in "$asan" all -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
    -DZAVUV_TOOLS=OFF -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=TRUE -DZAVUV_UNITY_TESTS=ON \
    "-DCMAKE_CXX_FLAGS=-O0 -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined"
(
    cd "$asan"
    export ASAN_OPTIONS="detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1"
    export UBSAN_OPTIONS="print_stacktrace=1"
    # The packaging tests check shell scripts and the package's files, not this code.
    ctest --output-on-failure -j "$(nproc)" -E '^Packaging\.'
)
echo "sanitize: address and undefined behaviour: $((SECONDS - started)) s" >&2

started=$SECONDS
tsan="$ZAVUV_ROOT/build-tsan"
# Unoptimised too: the GUI tests take a few seconds longer under it, the
# build a minute less.
zavuv_build_in "$tsan" test_gui -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
    -DZAVUV_UNITY_TESTS=ON "-DCMAKE_CXX_FLAGS=-O0 -fno-omit-frame-pointer -fsanitize=thread"
(
    cd "$tsan"
    export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$ZAVUV_ROOT/scripts/tsan.supp"
    QT_QPA_PLATFORM=offscreen ./tests/test_gui
)
echo "sanitize: threads (GUI tests): $((SECONDS - started)) s" >&2
