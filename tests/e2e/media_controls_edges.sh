#!/usr/bin/env bash
# The media controls where names and numbers are odd: a file whose name is
# no UTF-8 and whose module has no title reaches the bus as valid text;
# Seek takes any 64-bit offset; the position stays within the length and a
# song that goes round its loop says so with Seeked; LoopStatus is Track;
# and after new settings the metadata tells what the file now holds.
source "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw"
start_x
start_session_bus
"${TEST_SONGS:?the writer of the test songs}" "$WORK"
pc() { playerctl -p velmora "$@" 2>/dev/null; }
player_call() { # method [argument]
  dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.velmora /org/mpris/MediaPlayer2 \
    "org.mpris.MediaPlayer2.Player.$1" ${2:+"$2"} > /dev/null
}
# The Position property as the disc answers it, in microseconds (playerctl
# adds the time since it asked).
position_us() {
  dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.velmora /org/mpris/MediaPlayer2 \
    org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2.Player string:Position |
    awk '/int64/ {print $3}'
}
title_is() { [ "$(pc metadata xesam:title)" = "$1" ]; }
wait_title() { # title
  wait_until "$PATIENCE" title_is "$1" || fail "the title is \"$(pc metadata xesam:title)\", not \"$1\""
}
dbus-monitor --session "type='signal',interface='org.mpris.MediaPlayer2.Player',member='Seeked'" \
  > "$WORK/seeked.log" 2>&1 &
MONITOR_PID=$!
trap 'kill "$MONITOR_PID" 2>/dev/null || true; cleanup' EXIT

odd_name=$'\xff\xfe.xm'
cp "$WORK/untitled.xm" "$WORK/$odd_name"
start_disc "$WORK/$odd_name"
wait_title $'\xef\xbf\xbd\xef\xbf\xbd.xm'
[ "$(pc status)" = Playing ] || fail "the status reads \"$(pc status)\""
dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.velmora /org/mpris/MediaPlayer2 \
  org.freedesktop.DBus.Properties.GetAll string:org.mpris.MediaPlayer2.Player > /dev/null ||
  fail "GetAll fails for a file whose name is no UTF-8"
[ "$(pc loop)" = Track ] || fail "LoopStatus reads \"$(pc loop)\""

# The ramp is 1.28 s long and loops from its start: the position never
# passes the length, and each time round is a Seeked.
length_us=$(pc metadata mpris:length)
[ "$length_us" = 1280000 ] || fail "the length reads $length_us"
for _ in $(seq 30); do
  position=$(position_us)
  [ -n "$position" ] && [ "$position" -le "$length_us" ] || fail "the position $position µs is past the length"
  sleep 0.1
done
grep -q 'member=Seeked' "$WORK/seeked.log" || fail "going round the loop emitted no Seeked"

player_call Seek int64:-9223372036854775807 || fail "Seek by -(2^63-1) was not answered"
awk -v p="$(pc position)" 'BEGIN { exit !(p < 0.5) }' || fail "Seek by -(2^63-1) left the position at $(pc position) s"
player_call Seek int64:9223372036854775807 || fail "Seek by 2^63-1 was not answered"
wait_title "Velmora Skies"   # past the end of a file is the disc's first song

# The file changes under the disc; new settings read it anew.
cp "$WORK/ramp.xm" "$WORK/tune.xm"
pc open "file://$WORK/tune.xm"
wait_title ramp
cp "$WORK/untitled.xm" "$WORK/tune.xm"
window_geometry
step_rate up
wait_title tune.xm
close_disc
echo "media controls at the edges: an odd name read as $(printf '%q' "$odd_name"), Seek by ±(2^63-1), the position within the length, Seeked on the loop, LoopStatus Track, metadata current after new settings"
