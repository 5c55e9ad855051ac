#!/usr/bin/env bash
# Under weston with an output of scale 2 the disc follows the output: each
# pixel of the skin, as X11 shows it unscaled, is a crisp 2 by 2 block; a
# click at song 2's place on the output lights song 2 as under X11; a drag
# moves the window by the pointer's way; the close glyph ends it with 0.
source "$(dirname "$0")/lib.sh"
start_weston 2
start_wayland_disc
locate_disc || fail "the window doesn't show the skin in 2 by 2 blocks"

click_at 400 136   # song 2
locate_disc "$WORK/song2.png" "${GAUGE[@]}" || fail "song 2 clicked doesn't show as under X11, in blocks"
X=$WX Y=$WY
drag 1 400 8 500 68
locate_disc "$WORK/song2.png" "${GAUGE[@]}" || fail "after a drag the window is nowhere to be seen"
[ "$WX,$WY" = "$(( X + 100 )),$(( Y + 60 ))" ] || fail "a drag of 100,60 took the window from $X,$Y to $WX,$WY"

click_at 722 12   # the close glyph
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
echo "wayland scale: the output's scale 2 in crisp blocks, song 2 by its place, dragged, closed"
