#!/usr/bin/env bash
# How the disc as a Wayland client under weston ends, and what it asks of
# the compositor on the way. The options window is made the main window's
# child (its request to the compositor says so) and keeps the main window
# from clicks and drops; SIGTERM then ends the disc in order with exit code
# 0, the mix rate chosen by the options window's keys stored. Minimised, the window
# leaves the screen and the song plays on; when the compositor goes away,
# the disc ends as when the X display is lost: exit code 1, saying why, and
# Sound.opt stored.
source "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw"
start_weston

WAYLAND_DEBUG=client start_wayland_disc
xdotool key o sleep 0.5 key Up sleep 0.2 key Return   # the mix rate up, applied
sleep 0.5
xdotool key o
sleep 0.5
main=$(grep -o -m1 'get_toplevel(new id xdg_toplevel@[0-9]*)' "$WORK/disc.log" | grep -o '@[0-9]*')
grep -q "xdg_toplevel@[0-9]*\.set_parent(xdg_toplevel$main)" "$WORK/disc.log" ||
  fail "the options window was not made the main window's child"
click_at 361 6   # the main window's close glyph
sleep 0.5
kill -0 "$DISC_PID" 2>/dev/null || fail "the main window took a click during the options"
cp "$DISC_DIR/song5.xm" "$WORK/dropped.xm"
mark=$(output_bytes)
wayland_drop 200 100 "$WORK/dropped.xm" || true
sleep 1.5
above "$(rms_from "$mark")" 0.0001 && fail "a file dropped during the options plays"
kill -TERM "$DISC_PID"
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after SIGTERM"
grep -q '^Mixrate=44100$' "$WORK/disc/Sound.opt" ||
  fail "Sound.opt lacks the rate the options chose: $(cat "$WORK/disc/Sound.opt" 2>&1)"
rm -rf "$WORK/disc"

start_wayland_disc
click_at 170 108   # song 3
click_at 351 6     # minimise
off_screen() { ! locate_disc "$WORK/skin.png" "${GAUGE[@]}" 2>/dev/null; }
wait_until "$PATIENCE" off_screen || fail "the minimised window is still on the screen"
becomes_heard || fail "the song stopped as the window was minimised"

rm -f "$WORK/disc/Sound.opt"
lose_display WESTON_PID
[ "$EXIT_CODE" = 1 ] || fail "exit code $EXIT_CODE after the compositor went away"
grep -q 'connection to the display was lost' "$WORK/disc.log" || fail "the disc didn't say why it ended"
grep -q '^Mixrate=22050$' "$WORK/disc/Sound.opt" || fail "Sound.opt was not written"
echo "wayland end: options the main window's child and modal, SIGTERM ends with 0, minimised, the compositor lost ends with 1"
