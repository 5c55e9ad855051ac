#!/usr/bin/env bash
# The main window in a real X server with real input: borderless and
# centred, dragged by the left button (also when the pointer leaves it on
# the way, and exactly however many moves of whatever size make up the drag),
# not by the right, closed by its close glyph with exit code 0.
source "$(dirname "$0")/lib.sh"
start_x
start_disc

window_geometry
[ "$WW" = 370 ] && [ "$WH" = 214 ] || fail "size ${WW}x${WH}, expected 370x214"
[ "$WX" = 327 ] && [ "$WY" = 277 ] || fail "position $WX,$WY, expected the centre 327,277"

drag 1 200 4 250 34
window_geometry
[ "$WX" = 377 ] && [ "$WY" = 307 ] || fail "left drag moved to $WX,$WY, expected 377,307"

# Out past the window's edge and back in: the pressed panel keeps the mouse.
drag 1 200 4 -150 -120
window_geometry
[ "$WX" = 27 ] && [ "$WY" = 183 ] || fail "drag beyond the window moved to $WX,$WY, expected 27,183"

drag 1 30 120 60 130   # on the ornament
window_geometry
[ "$WX" = 57 ] && [ "$WY" = 193 ] || fail "drag on the ornament moved to $WX,$WY, expected 57,193"

drag 3 200 4 260 40
window_geometry
[ "$WX" = 57 ] && [ "$WY" = 193 ] || fail "the right button moved the window to $WX,$WY"

# Two big moves, five middling ones, fifty small ones back, paced and in a
# burst: no move is lost.
burst_drag "$WINDOW" 200 4 2 50 25 0.05
window_geometry
[ "$WX" = 157 ] && [ "$WY" = 243 ] || fail "two moves of 50,25 took the window to $WX,$WY, expected 157,243"
burst_drag "$WINDOW" 200 4 5 20 10
window_geometry
[ "$WX" = 257 ] && [ "$WY" = 293 ] || fail "five moves of 20,10 took the window to $WX,$WY, expected 257,293"
burst_drag "$WINDOW" 200 4 50 -2 -1 0.01
window_geometry
[ "$WX" = 157 ] && [ "$WY" = 243 ] || fail "fifty moves of -2,-1 took the window to $WX,$WY, expected 157,243"

click_at 361 6
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
echo "main window: centred, dragged, closed with exit code 0"
