#!/usr/bin/env bash
# A dropped file far larger than any module is refused at once with a
# message that names it and its size, and the program's memory stays small.
source "$(dirname "$0")/lib.sh"
XDND_DROP=${XDND_DROP:?the drag source}
start_x
start_disc
window_geometry

truncate -s 3G "$WORK/huge.xm"   # sparse: takes no room on the disk
"$XDND_DROP" $(( WX + 200 )) $(( WY + 100 )) "$WORK/huge.xm" || fail "the drop did not happen"
wait_box || fail "no message for a 3 GiB file"   # reading the whole file took half a minute
peak_kb=$(awk '/^VmHWM:/ {print $2}' "/proc/$DISC_PID/status")
[ "$peak_kb" -lt 153600 ] || fail "the program's memory peaked at ${peak_kb} kB"
xdotool windowfocus "$BOX" 2>/dev/null || true
sleep 0.2
xdotool key Return
sleep 0.5
kill -0 "$DISC_PID" 2>/dev/null || fail "the program ended after the refused drop"
click_at 361 6
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
echo "huge drop: refused at once, memory peaked at $(( peak_kb / 1024 )) MiB"
