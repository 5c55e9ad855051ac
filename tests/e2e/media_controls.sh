#!/usr/bin/env bash
# The disc as the desktop's media controls meet it, on a private session
# bus, driven by playerctl and dbus-send and heard on SDL's disk output:
# it is listed; play, next, previous, pause, resume and stop are heard or
# not; the metadata names the song and its composer; volume 0.5 halves the
# level; a file opened over the bus or by a second start plays in the one
# disc; Quit ends it in order; and a bus that goes away is let go quietly.
source "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw"
start_x
start_window_manager
start_session_bus
start_disc
pc() { playerctl -p velmora "$@" 2>/dev/null; }
title_is() { [ "$(pc metadata xesam:title)" = "$1" ]; }
wait_title() { # title
  wait_until "$PATIENCE" title_is "$1" || fail "the title is \"$(pc metadata xesam:title)\", not \"$1\""
}
window_state() { xprop -id "$WINDOW" WM_STATE 2>/dev/null | grep -q "$1"; }
url_is() { [ "$(pc metadata xesam:url)" = "$1" ]; }

playerctl -l 2>/dev/null | grep -qx velmora || fail "playerctl does not list the disc"
[ "$(pc status)" = Stopped ] || fail "a fresh disc is $(pc status)"

pc play
becomes_heard || fail "play is not heard"
wait_title "Velmora Skies"
[ "$(pc metadata xesam:artist)" = "Vilmar Yrndahl (VYR)" ] || fail "the composer is \"$(pc metadata xesam:artist)\""
[ "$(pc metadata xesam:album)" = "VYR's first Music Disc" ] || fail "the album is \"$(pc metadata xesam:album)\""
pc next
wait_title "Glass Harbour"
becomes_heard || fail "next is not heard"
pc previous
wait_title "Velmora Skies"
becomes_heard || fail "previous is not heard"

sleep 1
pc pause
becomes_silent || fail "pause is still heard"
[ "$(pc status)" = Paused ] || fail "paused, the status is $(pc status)"
held=$(pc position)
sleep 1
[ "$(pc position)" = "$held" ] || fail "the paused position moved from $held to $(pc position)"
pc play
becomes_heard || fail "resume is not heard"
resumed=$(pc position)
awk -v held="$held" -v now="$resumed" 'BEGIN { exit !(now >= held && now < held + 2) }' ||
  fail "resumed at $resumed, not from $held"
pc stop
becomes_silent || fail "stop is still heard"
[ "$(pc status)" = Stopped ] || fail "stopped, the status is $(pc status)"

# The same opening bars at full and at half volume: play after a stop
# starts the song again from its beginning.
opening_level() {
  local from
  from=$(output_bytes)
  pc play
  sleep 3.5
  pc stop
  becomes_silent || fail "stop is still heard"
  rms_from "$from" $(( 22050 * 4 * 3 ))
}
full=$(opening_level)
pc volume 0.5
[ "$(pc volume)" = 0.500000 ] || fail "the volume reads $(pc volume)"
half=$(opening_level)
awk -v full="$full" -v half="$half" 'BEGIN { exit !(half / full > 0.47 && half / full < 0.53) }' ||
  fail "volume 0.5 gives RMS $half against $full"

cp "$WORK/disc/song4.xm" "$WORK/tune one.xm"
pc open "file://$WORK/tune%20one.xm"
becomes_heard || fail "a file opened over the bus is not heard"
[ "$(pc metadata xesam:url)" = "file://$WORK/tune%20one.xm" ] || fail "OpenUri plays $(pc metadata xesam:url)"

# A second start hands its file to the running disc, raises it from the
# task bar and ends.
xdotool key m
wait_until "$PATIENCE" window_state Iconic || fail "M did not minimise the disc"
cp "$WORK/disc/song3.xm" "$WORK/second.xm"
started=$(date +%s%N)
set +e
(cd "$WORK" && "$WORK/disc/velmora" second.xm > "$WORK/second.log" 2>&1)
second_exit=$?
set -e
elapsed_ms=$(( ($(date +%s%N) - started) / 1000000 ))
[ "$second_exit" = 0 ] || fail "the second start ended with $second_exit"
[ "$elapsed_ms" -lt 1000 ] || fail "the second start took $elapsed_ms ms to end"
wait_until "$PATIENCE" url_is "file://$WORK/second.xm" || fail "the handed file plays not: $(pc metadata xesam:url)"
windows=$(xdotool search --name "^Velmora - VYR's first Music Disc$" | wc -l)
[ "$windows" = 1 ] || fail "$windows main windows after the second start"
wait_until "$PATIENCE" window_state Normal || fail "the second start did not raise the disc: $(xprop -id "$WINDOW" WM_STATE)"

# A file that is no module, handed over by a second start or opened over
# the bus, gets its message while what plays goes on.
echo "just words" > "$WORK/notes.txt"
(cd "$WORK" && "$WORK/disc/velmora" notes.txt > "$WORK/third.log" 2>&1) || fail "the third start failed"
wait_box || fail "no message for a handed file that is no module"
becomes_heard || fail "the handed file fell silent for a file that is no module"
dismiss_box
pc open "file://$WORK/notes.txt"
wait_box || fail "no message for a file opened over the bus that is no module"
becomes_heard || fail "the handed file fell silent for a file opened over the bus"
dismiss_box
[ "$(pc metadata xesam:url)" = "file://$WORK/second.xm" ] || fail "after the refusals, $(pc metadata xesam:url) plays"
[ "$(pc status)" = Playing ] || fail "after the refusals, the status is $(pc status)"

dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.velmora /org/mpris/MediaPlayer2 \
  org.mpris.MediaPlayer2.Quit > /dev/null || fail "Quit was not answered"
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "Quit ended with $EXIT_CODE"
grep -q '^Volume=50' "$WORK/disc/Sound.opt" || fail "Sound.opt does not keep the volume"

# The bus goes away under a playing disc: it plays on, says nothing, and
# closes as ever.
rm -rf "$WORK/disc"
start_disc
pc play
becomes_heard || fail "play is not heard on the second run"
kill "$BUS_PID"
wait "$BUS_PID" 2>/dev/null || true
BUS_PID=""
sleep 0.5
becomes_heard || fail "the disc fell silent with the bus"
grep -v CRITICAL "$WORK/disc.log" | grep . && fail "the lost bus was not quiet"
close_disc
echo "media controls: listed; play, next, previous, pause, resume, stop heard as they say (held at $held s, resumed at $resumed s); RMS $full at full volume, $half at 0.5; OpenUri and a second start ($elapsed_ms ms) played in one window; Quit ended with 0; the lost bus was let go"
