#!/usr/bin/env bash
# Starts the built Standalone app on a virtual X display of its own, photographs its window and
# checks that the window shows the pedal board (the wooden floor with the pedal positions), not a
# blank or black window. The photograph is kept as a build artefact.
#
#   standalone-screenshot.sh <Standalone executable> <output PNG>
#
# Needs xvfb-run, xwininfo (x11-utils), import (imagemagick), /usr/bin/python3 with PIL, and
# xdotool for the clicks that put pedals on the board.
set -euo pipefail

if [ "${1:-}" != "--inside" ]; then
    app=$(realpath "$1")
    out=$(realpath -m "$2")
    mkdir -p "$(dirname "$out")"
    # A throwaway home: the app's settings and preset folder must not touch the user's.
    home=$(mktemp -d)
    trap 'rm -rf "$home"' EXIT
    HOME="$home" XDG_CONFIG_HOME="$home/.config" \
        xvfb-run -a -s "-screen 0 1600x900x24" bash "$0" --inside "$app" "$out"
    exit $?
fi

app=$2
out=$3
shot="$out.root.png"

"$app" >"$out.log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true' EXIT

# The geometry "x y width height" of the largest top-level window called "Stompvale", or nothing.
# A line of the tree reads: 0x200006 "Stompvale": ("Stompvale" "Stompvale")  1293x464+157+221  +157+221
# (the app may briefly show a small window of that name before its editor is in place).
window_geometry()
{
    xwininfo -root -tree 2>/dev/null | grep '"Stompvale": (' \
        | sed -nE 's/.* ([0-9]+)x([0-9]+)\+-?[0-9]+\+-?[0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+)$/\3 \4 \1 \2/p' \
        | sort -k3,3nr | head -1
}

geometry=""
for _ in $(seq 1 60); do
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "the Standalone app exited early; its output:" >&2
        cat "$out.log" >&2
        exit 1
    fi
    geometry=$(window_geometry || true)
    if [ -n "$geometry" ] && [ "$(cut -d' ' -f3 <<<"$geometry")" -ge 600 ]; then
        break
    fi
    geometry=""
    sleep 0.5
done

if [ -z "$geometry" ]; then
    echo "no Stompvale window of the board's size appeared within 30 s" >&2
    exit 1
fi

# Play the board a little, as a user would, so the picture shows pedals: put the next free pedal
# into each of the six chain positions, switch four of them on and open the preset board. Design
# frame points are mapped to the screen assuming the editor sits at the bottom of the window,
# centred between equal borders (the Standalone window's layout); a miss only makes a plainer
# picture, never a failure. Skipped without xdotool.
if command -v xdotool >/dev/null; then
    read -r wx wy ww wh <<<"$geometry"
    border=$(( (ww - 1285) / 2 ))
    ex=$(( wx + border ))
    ey=$(( wy + wh - border - 400 ))
    click()
    {
        xdotool mousemove "$(( ex + $1 ))" "$(( ey + $2 ))" click 1
        sleep 0.3
    }
    sleep 1
    for k in 0 1 2 3 4 5; do
        click $(( 182 + 210 * k )) 80    # "NEXTB" of position k
    done
    for k in 0 2 3 5; do
        click $(( 117 + 210 * k )) 335   # the footswitch of the pedal now in position k
    done
    click 65 30                          # "Board"
    xdotool mousemove 0 0
fi

# Give the window a few refresh ticks to paint, then photograph the whole screen.
sleep 3
geometry=$(window_geometry || true)
import -window root "$shot"

/usr/bin/python3 - "$shot" "$out" $geometry <<'PY'
import sys
from PIL import Image, ImageStat

shot, out, x, y, w, h = sys.argv[1], sys.argv[2], *map(int, sys.argv[3:7])
window = Image.open(shot).convert("RGB").crop((x, y, x + w, y + h))
window.save(out)

stat = ImageStat.Stat(window)
mean = sum(stat.mean) / 3
spread = sum(stat.stddev) / 3
pixels = list(window.getdata())
# Wood: clearly warmer than it is blue, and not dark.
warm = sum(1 for r, g, b in pixels if r > b + 20 and r > 60) / len(pixels)
print(f"window {w}x{h} at ({x}, {y}): mean {mean:.1f}, spread {spread:.1f}, wooden {warm:.1%}")

failures = []
if w < 600 or h < 200:
    failures.append("the window is smaller than the board")
if mean < 25:
    failures.append("the window is black")
if spread < 12:
    failures.append("the window is blank (one flat colour)")
if warm < 0.15:
    failures.append("the wooden floor does not show")
if failures:
    sys.exit("; ".join(failures))
PY
