#!/usr/bin/env bash
# Loads the built LV2 in jalv, headless, on a private JACK server with the dummy driver, sets
# parameters from the command line, and checks that jalv took them without errors and that the
# plug-in's ports appear in the JACK graph. The server is ours alone (its own name) and is
# stopped again however the test ends (jalv_common.sh).
#
#   jalv_test.sh <Stompvale.lv2 bundle>
set -euo pipefail

bundle=$(realpath -m "$1")

for tool in jackd jalv jack_wait jack_lsp; do
    if ! command -v "$tool" >/dev/null; then
        echo "FAIL $tool is missing: run tools/install-dependencies.sh (Debian packages jackd2, jalv)"
        exit 1
    fi
done

prefix=jalv
# shellcheck source=jalv_common.sh
source "$(dirname "$0")/jalv_common.sh"

# jalv names a JUCE parameter (a patch property) by the part of its URI after the last slash,
# made into a symbol: ".../stompvale:PEDAL_BEFORE_SLOT0" becomes "stompvale_PEDAL_BEFORE_SLOT0".
# It sends them to the plug-in as patch:Set messages, which -d prints. (Its console sets only
# control ports, so properties can be given on the command line alone.)
{
    sleep 2
    jack_lsp > "$work/ports.txt" 2>&1 || true
} | timeout 60 jalv -d -c stompvale_PEDAL_BEFORE_SLOT0=5 -c stompvale_volume=1 "$uri" > "$work/jalv.log" 2>&1 \
    && status=0 || status=$?

check "jalv ran the plug-in and ended cleanly (exit status $status)" '[ "$status" -eq 0 ]'
check "jalv loaded the plug-in by its URI" 'grep -q "^Plugin: *$uri" "$work/jalv.log"'
check "its ports are in the JACK graph" 'grep -q "audio_in_1" "$work/ports.txt" && grep -q "audio_out_1" "$work/ports.txt"'
check "chain position 0 was set from the command line" \
    'grep -q "^stompvale_PEDAL_BEFORE_SLOT0 = 5.0*$" "$work/jalv.log"'
check "the main volume was set from the command line" 'grep -q "^stompvale_volume = 1.0*$" "$work/jalv.log"'
check "both went to the plug-in as patch:Set messages" \
    '[ "$(grep -c -E "patch:property <$uri:(PEDAL_BEFORE_SLOT0|volume)>" "$work/jalv.log")" -eq 2 ]'
check "jalv reported no error or warning" '! grep -i -E "error|warning|unknown control" "$work/jalv.log"'

if [ "$failures" -ne 0 ]; then
    echo "--- jalv's output:"
    cat "$work/jalv.log"
    echo "--- JACK ports:"
    cat "$work/ports.txt"
    exit 1
fi
