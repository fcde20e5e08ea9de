#!/usr/bin/env bash
# Opens the LV2's editor in a host: jalv.gtk3 embeds the plug-in's X11 UI on a virtual display,
# running on a private JACK server with the dummy driver. It photographs the window twice: once
# as the plug-in starts, and once with a Fuzz Fake put in chain position 0 and switched on
# through the host (jalv's --control), and checks that the window has the editor's shape, shows
# a picture and not a blank, and that the host's settings change what the editor shows. The
# photographs stay in <picture folder> (jalv-editor-empty.png, jalv-editor-fuzz.png).
#
#   jalv_editor_test.sh <Stompvale.lv2 bundle> <picture folder>
set -euo pipefail

# A virtual display of our own, so that no other test's window can be taken for ours.
if [ -z "${STOMPVALE_EDITOR_TEST_DISPLAY:-}" ]; then
    STOMPVALE_EDITOR_TEST_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1920x1080x24" bash "$0" "$@"
fi

bundle=$(realpath -m "$1")
pictures=$(realpath -m "$2")

for tool in xvfb-run jackd jalv.gtk3 jack_wait xdotool import; do
    if ! command -v "$tool" >/dev/null; then
        echo "FAIL $tool is missing: run tools/install-dependencies.sh (jackd2, jalv, xdotool, imagemagick)"
        exit 1
    fi
done

jalvPid=""
stopJalv()
{
    if [ -n "$jalvPid" ]; then
        kill "$jalvPid" 2>/dev/null || true
        wait "$jalvPid" 2>/dev/null || true
        jalvPid=""
    fi
}
stop_extra() { stopJalv; }

prefix=jalv-editor
mkdir -p "$pictures"
# shellcheck source=jalv_common.sh
source "$(dirname "$0")/jalv_common.sh"

# Starts jalv.gtk3 with the given extra options, waits for the plug-in's window, lets the
# editor paint and photographs the window into $1; prints the window's size as "W H" (and
# anything else on stderr, since it runs in a command substitution).
photograph()
{
    local picture=$1
    shift
    rm -f "$picture"
    jalv.gtk3 --no-menu "$@" "$uri" > "$work/jalv.log" 2>&1 &
    jalvPid=$!
    local window=""
    for _ in $(seq 1 60); do
        window=$(xdotool search --onlyvisible --pid "$jalvPid" --name '^Stompvale$' 2>/dev/null | head -1 || true)
        [ -n "$window" ] && break
        sleep 0.25
    done
    if [ -z "$window" ]; then
        stopJalv
        cat "$work/jalv.log" >&2
        echo "FAIL jalv.gtk3 showed no Stompvale window" >&2
        exit 1
    fi
    sleep 2   # the editor's first layout and paint, and a refresh or two of its 33 ms timer
    import -window "$window" "$picture" 2>> "$work/import.log" \
        || { stopJalv; cat "$work/import.log" >&2; echo "FAIL the window could not be photographed" >&2; exit 1; }
    xdotool getwindowgeometry --shell "$window" | grep -E '^(WIDTH|HEIGHT)=' | cut -d= -f2 | paste -sd ' '
    stopJalv
}

emptySize=$(photograph "$pictures/jalv-editor-empty.png")
fuzzSize=$(photograph "$pictures/jalv-editor-fuzz.png" \
    --control=stompvale_PEDAL_BEFORE_SLOT0=5 --control=stompvale_PEDAL5PEDAL_Fuzz_ONOFF_=1)
echo "ok   jalv.gtk3 opened the editor ($emptySize, then $fuzzSize pixels)"

read -r width height <<< "$emptySize"
check "the window has the editor's 1285 by 400 shape (it is $width by $height)" \
    '[ "$width" -ge 600 ] && [ $((width * 400 - height * 1285)) -le $((width * 4)) ] && [ $((height * 1285 - width * 400)) -le $((width * 4)) ]'

/usr/bin/python3 - "$pictures/jalv-editor-empty.png" "$pictures/jalv-editor-fuzz.png" > "$work/compare.txt" <<'PY'
import sys
from PIL import Image, ImageChops

empty = Image.open(sys.argv[1]).convert("RGB")
fuzz = Image.open(sys.argv[2]).convert("RGB")
colours = len(set(empty.resize((empty.width // 4, empty.height // 4)).getdata()))
changed = 0
if empty.size == fuzz.size:
    difference = ImageChops.difference(empty, fuzz).convert("L").point(lambda v: 255 if v > 40 else 0)
    changed = difference.histogram()[255] / (empty.width * empty.height)
print(colours, f"{changed:.4f}")
PY
read -r colours changed < "$work/compare.txt"
check "the editor draws a picture, not a blank ($colours colours in a quarter-size copy)" '[ "$colours" -gt 200 ]'
check "the host's Fuzz Fake in position 0 shows in the editor (${changed} of the pixels changed)" \
    '/usr/bin/python3 -c "import sys; sys.exit(0 if float(sys.argv[1]) > 0.02 else 1)" "$changed"'
check "jalv reported no error" '! grep -i -E "error|critical" "$work/jalv.log"'

if [ "$failures" -ne 0 ]; then
    echo "--- jalv's output:"
    cat "$work/jalv.log"
    exit 1
fi
