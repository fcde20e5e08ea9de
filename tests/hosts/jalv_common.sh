# Sourced by the jalv tests: a private work folder and HOME, a private JACK server on the dummy
# driver, the LV2 path, and the check helper. The caller sets bundle (the Stompvale.lv2 folder)
# and prefix (a word for the work folder) first, and may define stop_extra (run first on exit).
#
# After sourcing: work, uri, JACK_DEFAULT_SERVER and LV2_PATH are set, the server is running
# (or the script has failed), and everything is stopped and removed again when the script exits.

uri="https://stompvale.example.org/plugins/stompvale"
work=$(mktemp -d "${TMPDIR:-/tmp}/stompvale-$prefix-XXXXXX")
jackPid=""
failures=0

cleanup()
{
    if declare -F stop_extra > /dev/null; then
        stop_extra
    fi
    if [ -n "$jackPid" ]; then
        kill "$jackPid" 2>/dev/null || true
        wait "$jackPid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# check "description" 'shell test': prints ok or FAIL and counts the failures.
check()
{
    if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi
}

export HOME="$work/home"
mkdir -p "$HOME"
export JACK_DEFAULT_SERVER="stompvale-$prefix-$$"
export LV2_PATH
LV2_PATH=$(dirname "$bundle")

jackd --no-realtime -d dummy -r 48000 -p 256 > "$work/jackd.log" 2>&1 &
jackPid=$!
if ! jack_wait -w -t 10 > /dev/null 2>&1; then
    cat "$work/jackd.log"
    echo "FAIL the dummy JACK server did not start"
    exit 1
fi
echo "ok   a private JACK server ($JACK_DEFAULT_SERVER) runs the dummy driver at 48 kHz, 256 frames"
