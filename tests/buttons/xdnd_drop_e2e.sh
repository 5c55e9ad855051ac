#!/bin/sh
# Drops three files on a real window of ours through the desktop's drag and
# drop protocol and checks that their paths arrive whole and in order; a
# window whose drop target is off tells the drag source no.
# It brings its own virtual X server, on a display the server picks itself,
# so it can run beside other tests that do the same:
#   xdnd_drop_e2e.sh <drop_probe> <velmora_xdnd_drop>
set -eu
probe=$1
dropper=$2

work=$(mktemp -d)
pid=
xvfb=
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid"; fi
    if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

exec 5>"$work/display"
Xvfb -displayfd 5 -screen 0 800x600x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb=$!
tries=0
until [ -s "$work/display" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 200 ] || ! kill -0 "$xvfb" 2>/dev/null; then
        echo "the virtual X server did not start" >&2
        cat "$work/xvfb.log" >&2
        exit 1
    fi
    sleep 0.05
done
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY

mkdir "$work/with space" "$work/a.b"
first="$work/one.xm"
second="$work/with space/Two Tracks.S3M"
third="$work/a.b/three.tar.gz"
touch "$first" "$second" "$third"

start_probe() {
    # The background job truncates its output only once it runs: a READY
    # line left by the probe before must not be taken for this one's.
    rm -f "$work/out"
    "$probe" "$@" >"$work/out" 2>"$work/err" &
    pid=$!
    tries=0
    until grep -q '^READY ' "$work/out" 2>/dev/null; do
        tries=$((tries + 1))
        if [ "$tries" -gt 200 ] || ! kill -0 "$pid" 2>/dev/null; then
            echo "the probe window did not come up" >&2
            cat "$work/err" >&2
            exit 1
        fi
        sleep 0.05
    done
    x=$(sed -n 's/^READY \([0-9-]*\) \([0-9-]*\)$/\1/p' "$work/out")
    y=$(sed -n 's/^READY \([0-9-]*\) \([0-9-]*\)$/\2/p' "$work/out")
}

start_probe --disabled
refused=0
"$dropper" "$x" "$y" "$first" 2>/dev/null || refused=$?
if [ "$refused" -ne 2 ]; then
    echo "a window whose drop target is off did not refuse the drag source (exit $refused)" >&2
    exit 1
fi
status=0
wait "$pid" || status=$?
pid=
if [ "$status" -ne 0 ]; then
    echo "the refusing probe ended with $status" >&2
    cat "$work/err" >&2
    exit 1
fi

start_probe
"$dropper" "$x" "$y" "$first" "$second" "$third"

status=0
wait "$pid" || status=$?
pid=
if [ "$status" -ne 0 ]; then
    echo "the probe ended with $status" >&2
    cat "$work/out" >&2
    cat "$work/err" >&2
    exit 1
fi

printf 'READY %s %s\n%s\n%s\n%s\nCOUNT 3\n' "$x" "$y" "$first" "$second" "$third" >"$work/expected"
if ! cmp -s "$work/expected" "$work/out"; then
    echo "the paths arrived differently:" >&2
    diff "$work/expected" "$work/out" >&2 || true
    exit 1
fi
echo "refused while the drop target is off; three files dropped and received in order"
