#!/usr/bin/env bash
# At VELMORA_SCALE=2 the disc is twice as large, each pixel a square block
# of the unscaled picture: the window is 740 by 428, a click at the scaled
# place of song 2 plays and locks song 2, and a drag follows the pointer.
source "$(dirname "$0")/lib.sh"
SCREEN_READER=${SCREEN_READER:?the screen reader}
start_x

# Song 2's locked button as the unscaled disc shows it.
start_disc
window_geometry
click_at 200 68
sleep 0.5
unscaled=$("$SCREEN_READER" "$WINDOW" hash 98 48 209 40)
kill "$DISC_PID"; wait "$DISC_PID" 2>/dev/null || true; DISC_PID=""
rm -rf "$WORK/disc"

VELMORA_SCALE=2 start_disc
window_geometry
[ "$WW" = 740 ] && [ "$WH" = 428 ] || fail "size ${WW}x${WH} at scale 2, expected 740x428"
[ "$WX" = 142 ] && [ "$WY" = 170 ] || fail "position $WX,$WY at scale 2, expected the centre 142,170"
click_at 400 136
sleep 0.5
for offset in 0 1; do
  scaled=$("$SCREEN_READER" "$WINDOW" hash 196 96 418 80 2 "$offset")
  [ "$scaled" = "$unscaled" ] || fail "song 2 at scale 2 is not the locked unscaled button in 2 by 2 blocks (offset $offset)"
done

burst_drag "$WINDOW" 400 8 2 50 26 0.05
window_geometry
[ "$WX" = 242 ] && [ "$WY" = 222 ] || fail "two moves of 50,26 took the scaled window to $WX,$WY, expected 242,222"

click_at 722 12   # the close glyph, scaled
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
echo "scale 2: 740x428, crisp, song 2 by its scaled place, dragged exactly, closed"
