#!/usr/bin/env bash
# Configures, builds every format and the tests, and runs the test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"

# The editor tests open windows and snapshots; give them a display when there is none.
run_ctest() { ctest --test-dir build --output-on-failure -j "$jobs" "$@"; }
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1920x1080x24" bash -c "$(declare -f run_ctest); run_ctest $*"
else
    run_ctest "$@"
fi
