#!/usr/bin/env bash
# Configures, builds every format and the tests, and runs the test suite; then builds the test
# executable again with AddressSanitizer + UndefinedBehaviorSanitizer and with ThreadSanitizer
# and runs the suites meant for them.
#
#   STOMPVALE_QUICK=1   skip the sanitizer builds and the tests labelled "hosts" (local runs)
#   extra arguments     passed to the first ctest run (for example -R Delay)
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
quick=${STOMPVALE_QUICK:-0}

run_ctest()
{
    local dir=$1
    shift
    if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
        xvfb-run -a -s "-screen 0 1920x1080x24" \
            ctest --test-dir "$dir" --output-on-failure -j "$jobs" "$@"
    else
        ctest --test-dir "$dir" --output-on-failure -j "$jobs" "$@"
    fi
}

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"

if [ "$quick" = 1 ]; then
    run_ctest build -LE hosts "$@"
    exit 0
fi

run_ctest build "$@"

# Sanitizer builds: the test executable only.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSTOMPVALE_SANITIZERS=address,undefined -DSTOMPVALE_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs" --target StompvaleTests
ASAN_OPTIONS=detect_leaks=0 STOMPVALE_FUZZ_ITERATIONS=100000 run_ctest build-asan -L unit

cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSTOMPVALE_SANITIZERS=thread -DSTOMPVALE_BUILD_BENCH=OFF
cmake --build build-tsan -j "$jobs" --target StompvaleTests
TSAN_OPTIONS=halt_on_error=1 run_ctest build-tsan -L unit -R Concurrency
