#!/usr/bin/env bash
# The X server goes away under the running program, a song playing: the
# program ends without a crash (exit code 1, saying why) and still stores
# its settings.
source "$(dirname "$0")/lib.sh"
start_x
start_disc
window_geometry
click_at 170 108   # song 3
sleep 0.5
rm -f "$WORK/disc/Sound.opt"
kill -9 "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null || true
XVFB_PID=""
wait_exit 10
[ "$EXIT_CODE" = 1 ] || fail "exit code $EXIT_CODE after the display went away"
grep -q 'connection to the display was lost' "$WORK/disc.log" || fail "the program didn't say why it ended"
grep -q '^Mixrate=22050$' "$WORK/disc/Sound.opt" || fail "Sound.opt was not written"
echo "display lost: an orderly end with exit code 1, settings stored"
