#!/bin/sh
# Drops three files on a real window of ours through the desktop's drag and
# drop protocol and checks that their paths arrive whole and in order.
# Run under an X server (the test runs it through xvfb-run):
#   xdnd_drop_e2e.sh <drop_probe> <velmora_xdnd_drop>
set -eu
probe=$1
dropper=$2

work=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid"; fi
    rm -rf "$work"
}
trap cleanup EXIT

mkdir "$work/with space" "$work/a.b"
first="$work/one.xm"
second="$work/with space/Two Tracks.S3M"
third="$work/a.b/three.tar.gz"
touch "$first" "$second" "$third"

"$probe" >"$work/out" 2>"$work/err" &
pid=$!

tries=0
until grep -q '^READY ' "$work/out"; do
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

"$dropper" "$x" "$y" "$first" "$second" "$third"

status=0
wait "$pid" || status=$?
pid=
if [ "$status" -ne 0 ]; then
    echo "the probe ended with $status" >&2
    cat "$work/err" >&2
    exit 1
fi

printf 'READY %s %s\n%s\n%s\n%s\nCOUNT 3\n' "$x" "$y" "$first" "$second" "$third" >"$work/expected"
if ! cmp -s "$work/expected" "$work/out"; then
    echo "the paths arrived differently:" >&2
    diff "$work/expected" "$work/out" >&2 || true
    exit 1
fi
echo "three files dropped and received in order"
