#!/usr/bin/env bash
# Hosts the built plug-in in Ardour 7, headless: ardour7-lua runs ardour_session_test.lua on the
# "None (Dummy)" audio backend. Everything Ardour writes (its configuration, its plug-in cache,
# the session) goes into a temporary HOME that is removed afterwards, so the test runs the same
# on a fresh machine and leaves nothing behind.
#
#   ardour_test.sh VST3|LV2 hosting|session|mono <bundle> <parameter-list-tool>
set -euo pipefail

format=$1
mode=$2
bundle=$(realpath -m "$3")   # absolute: Ardour keys its VST3 cache by the bundle's path
listTool=$(realpath -m "$4")
here=$(cd "$(dirname "$0")" && pwd)

for tool in ardour7-lua /usr/lib/ardour7/ardour-vst3-scanner; do
    if ! command -v "$tool" >/dev/null; then
        echo "FAIL $tool is missing: run tools/install-dependencies.sh (Debian package ardour)"
        exit 1
    fi
done
if [ ! -e "$bundle" ]; then
    echo "FAIL the bundle $bundle has not been built"
    exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/stompvale-ardour-XXXXXX")
trap '[ -n "${STOMPVALE_KEEP_HOST_WORK:-}" ] || rm -rf "$work"' EXIT
export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache" XDG_DATA_HOME="$HOME/.local/share"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME"

"$listTool" > "$work/parameters.tsv"

if [ "$format" = VST3 ]; then
    # Ardour's Lua tool only reads its VST3 cache; its scanner validates the bundle and fills it.
    # A cache entry written in the same second as the bundle counts as stale, so a bundle built
    # a moment ago is given time to age first.
    newest=$(find "$bundle" -printf '%T@\n' | sort -n | tail -1)
    while [ "$(date +%s)" -le "$(( ${newest%.*} + 1 ))" ]; do sleep 0.5; done
    export VST3_PATH
    VST3_PATH=$(dirname "$bundle")
    export LV2_PATH="$work/no-lv2"
    LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 120 /usr/lib/ardour7/ardour-vst3-scanner -v "$bundle" \
        > "$work/scan.log" 2>&1 || { cat "$work/scan.log"; echo "FAIL the VST3 scanner rejects the bundle"; exit 1; }
    grep -q "Found Plugin: Stompvale" "$work/scan.log" \
        || { cat "$work/scan.log"; echo "FAIL the VST3 scanner finds no Stompvale in the bundle"; exit 1; }
else
    export LV2_PATH
    LV2_PATH=$(dirname "$bundle")
    export VST3_PATH="$work/no-vst3"
fi

export STOMPVALE_FORMAT=$format STOMPVALE_MODE=$mode
export STOMPVALE_PARAMETER_LIST="$work/parameters.tsv" STOMPVALE_SESSION_DIR="$work/session"

status=0
(cd "$work" && timeout 300 ardour7-lua "$here/ardour_session_test.lua") > "$work/ardour.log" 2>&1 || status=$?
# Our checks, then anything Ardour reported as an error or warning.
grep -E '^(ok|FAIL|     )' "$work/ardour.log" || true
grep -i -E 'error|warning|critical' "$work/ardour.log" | grep -v -E '^(ok|FAIL)' | head -20 || true
if [ "$status" -ne 0 ]; then
    if ! grep -q "failure(s)" "$work/ardour.log"; then
        echo "--- ardour7-lua stopped early (exit status $status); its whole output:"
        cat "$work/ardour.log"
    fi
    exit 1
fi
grep -q "0 failure(s)" "$work/ardour.log"
