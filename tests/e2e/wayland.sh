#!/usr/bin/env bash
# The disc as a Wayland client under weston, with no X server of its own,
# driven through the Xvfb weston runs in and heard on SDL's disk output.
# Beside X11 it stays on X11 unless SDL_VIDEODRIVER names Wayland. It shows
# the skin pixel for pixel as under X11 and plays a module named on its
# command line; a click on song 2 lights it as under X11; the compositor
# moves the window by the pointer's way when the panel or the ornament is
# dragged, not by the right button nor from a song; Space pauses and 3 plays
# song 3; a file dropped from a Wayland drag source plays; the options
# window takes its keys and applies them; the close glyph ends the disc
# with exit code 0.
source "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw"
start_weston

# Both displays there and no driver named: the window comes on X11.
cp -r "$DISC_DIR" "$WORK/disc"
WAYLAND_DISPLAY=velmora-wayland SDL_AUDIODRIVER=dummy "$WORK/disc/velmora" > "$WORK/disc.log" 2>&1 &
DISC_PID=$!
wait_main_window
kill "$DISC_PID"; wait "$DISC_PID" 2>/dev/null || true; DISC_PID=""
rm -rf "$WORK/disc"

cp "$DISC_DIR/song4.xm" "$WORK/tune.xm"
start_wayland_disc "$WORK/tune.xm"
xdotool search --name '^Velmora' > /dev/null 2>&1 && fail "the disc made an X11 window"
locate_disc "$WORK/skin.png" "${GAUGE[@]}" || fail "the window doesn't show the skin as under X11"
becomes_heard || fail "the module named on the command line is not heard"

click_at 200 68   # song 2
X=$WX Y=$WY
locate_disc "$WORK/song2.png" "${GAUGE[@]}" || fail "song 2 clicked doesn't show as under X11"
[ "$WX,$WY" = "$X,$Y" ] || fail "the click on song 2 moved the window from $X,$Y to $WX,$WY"

moved_by() { # dx dy what
  local x=$WX y=$WY
  locate_disc "$WORK/song2.png" "${GAUGE[@]}" || fail "after $3 the window is nowhere to be seen"
  [ "$WX,$WY" = "$(( x + $1 )),$(( y + $2 ))" ] ||
    fail "$3 took the window from $x,$y to $WX,$WY, not by $1,$2"
}
drag 1 200 4 250 34
moved_by 50 30 "a drag on the panel"
drag 1 30 120 60 130
moved_by 30 10 "a drag on the ornament"
drag 3 200 4 260 40
moved_by 0 0 "a drag with the right button"
drag 1 120 188 180 150   # from song 5's plate, let go beside it
moved_by 0 0 "a drag from a song"

xdotool key space
becomes_silent || fail "Space didn't pause the song"
xdotool key 3
becomes_heard || fail "3 didn't play song 3"

# A file dropped from a Wayland drag source plays, its name escaped in the
# URI as a file manager escapes it.
xdotool key space
becomes_silent || fail "Space didn't pause song 3"
cp "$DISC_DIR/song5.xm" "$WORK/dropped tune.xm"
wayland_drop 200 100 "$WORK/dropped tune.xm" || fail "the disc didn't take the dropped file: $(cat "$WORK/drop.log")"
becomes_heard || fail "the dropped file is not heard"

# The options window by its keys: O opens it, Up steps the mix rate up
# (22050 to 44100), Enter closes it and applies.
xdotool key o
sleep 0.5
xdotool key Up
sleep 0.2
xdotool key Return
sleep 0.5

click_at 361 6   # the close glyph
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
grep -q '^Mixrate=44100$' "$WORK/disc/Sound.opt" ||
  fail "the options window's keys didn't reach it: $(cat "$WORK/disc/Sound.opt" 2>&1)"
echo "wayland: the skin as under X11, the module heard, song 2 lit, dragged by the compositor, keys, options, closed with 0"
