#!/usr/bin/env bash
# A scale asked for that would make the disc larger than the screen's work
# area is lowered to the largest that fits, and the program says so: on a
# 1024x768 screen, VELMORA_SCALE=4 shows it at 2 (740x428, closed by its
# scaled close glyph); with a window manager's panels leaving 1024x400, at 1.
source "$(dirname "$0")/lib.sh"
start_x

VELMORA_SCALE=4 start_disc
window_geometry
[ "$WW" = 740 ] && [ "$WH" = 428 ] || fail "size ${WW}x${WH} at VELMORA_SCALE=4 on 1024x768, expected 740x428"
grep -q "VELMORA_SCALE=4 .*1024x768; it is shown at scale 2" "$WORK/disc.log" || fail "no word of the lowered scale"
click_at 722 12   # the close glyph, at scale 2
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
rm -rf "$WORK/disc"

# What a window manager with a tall panel would announce.
xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA 0,0,1024,400
VELMORA_SCALE=3 start_disc
window_geometry
[ "$WW" = 370 ] && [ "$WH" = 214 ] || fail "size ${WW}x${WH} at VELMORA_SCALE=3 in a 1024x400 work area, expected 370x214"
grep -q "VELMORA_SCALE=3 .*1024x400; it is shown at scale 1" "$WORK/disc.log" || fail "no word of the lowered scale"
click_at 361 6
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
echo "scale fits: 4 lowered to 2 on a 1024x768 screen, 3 to 1 in a 1024x400 work area"
