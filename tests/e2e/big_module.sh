#!/usr/bin/env bash
# A module of 250 MB takes a while to read, and is read off the window's
# thread: handed over by a second start while the first disc plays, it
# leaves the second start to end at once, the window to paint a key at
# once and the media controls to answer; it then plays, once, in the one
# window, and a newer choice made while it loads wins.
source "$(dirname "$0")/lib.sh"
SCREEN_READER=${SCREEN_READER:?the screen reader}
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw"
SONG2_PLATE=(98 48 209 40)
start_x
start_session_bus
"${TEST_SONGS:?the writer of the test songs}" "$WORK" 250
pc() { playerctl -p velmora "$@" 2>/dev/null; }
start_disc
window_geometry
xdotool key 1
becomes_heard || fail "song 1 is not heard"

# The hand-over: the second start ends at once, whatever the first is doing.
started=$(date +%s%N)
set +e
"$WORK/disc/velmora" "$WORK/big.xm" > "$WORK/second.log" 2>&1
second_exit=$?
set -e
second_ms=$(( ($(date +%s%N) - started) / 1000000 ))
[ "$second_exit" = 0 ] || fail "the second start ended with $second_exit: $(cat "$WORK/second.log")"
sleep 0.35
painted=$("$SCREEN_READER" "$WINDOW" key 2 "${SONG2_PLATE[@]}")
awk -v ms="$painted" 'BEGIN { exit !(ms >= 0 && ms <= 100) }' ||
  fail "while the module loads, the key was painted after $painted ms"
started=$(date +%s%N)
status=$(timeout 5 playerctl -p velmora status 2>&1) || fail "playerctl status did not answer: $status"
status_ms=$(( ($(date +%s%N) - started) / 1000000 ))
[ "$status_ms" -le 1000 ] || fail "while the module loads, playerctl status took $status_ms ms"

# Key 2 came after the module: song 2 is the last choice, and wins.
title_is() { [ "$(pc metadata xesam:title)" = "$1" ]; }
wait_until "$PATIENCE" title_is "Glass Harbour" || fail "song 2, chosen last, is not what plays: $(pc metadata xesam:title)"

# Chosen alone, the big module plays.
pc open "file://$WORK/big.xm"
wait_until "$PATIENCE" title_is big || fail "the big module does not play: $(pc metadata xesam:title)"
becomes_heard || fail "the big module is not heard"
windows=$(xdotool search --name "^Velmora - VYR's first Music Disc$" | wc -l)
[ "$windows" = 1 ] || fail "$windows main windows"
close_disc
echo "a 250 MB module: the second start ended in $second_ms ms, a key was painted in $painted ms and playerctl answered in $status_ms ms while it loaded; the last choice won; it played in the one window"
