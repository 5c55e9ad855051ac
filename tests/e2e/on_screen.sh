#!/usr/bin/env bash
# What the user sees, read back from the X server itself: a held song button
# and a held transport button show their pressed pictures at once, a clicked
# song its locked picture, and fast-forward moves the gauge by the next tick.
source "$(dirname "$0")/lib.sh"
SCREEN_READER=${SCREEN_READER:?the screen reader}
start_x
start_disc
window_geometry

area() { "$SCREEN_READER" "$WINDOW" hash "$@"; }
SONG2=(98 48 209 40)
FORWARD=(328 176 30 30)
GAUGE=(348 20 13 109)

# Holds the button at a window point, then reads the area 100 ms and 1 s
# into the press: the first must already show what the second shows.
held_shows_at_once() { # name x y area...
  local name=$1 x=$2 y=$3; shift 3
  local before at100 at1000
  before=$(area "$@")
  xdotool mousemove $(( WX + x )) $(( WY + y ))
  sleep 0.1
  xdotool mousedown 1
  sleep 0.1
  at100=$(area "$@")
  sleep 0.9
  at1000=$(area "$@")
  [ "$at1000" != "$before" ] || fail "$name: holding it changes nothing on screen"
  [ "$at100" = "$at1000" ] || fail "$name: the pressed picture was not on screen 100 ms into the press"
  PRESSED=$at1000
}

held_shows_at_once "song 2" 200 68 "${SONG2[@]}"
xdotool mouseup 1
sleep 0.1
locked=$(area "${SONG2[@]}")
sleep 0.9
[ "$(area "${SONG2[@]}")" = "$locked" ] || fail "song 2: the locked picture was not on screen 100 ms after the click"
[ "$locked" != "$PRESSED" ] || fail "song 2: the locked picture looks like the pressed one"

gauge=$(area "${GAUGE[@]}")
held_shows_at_once "fast-forward" 343 191 "${FORWARD[@]}"
xdotool mouseup 1
sleep 0.4   # one 250 ms tick and some
stepped=$(area "${GAUGE[@]}")
[ "$stepped" != "$gauge" ] || fail "the gauge did not move on the tick after fast-forward"
sleep 1
[ "$(area "${GAUGE[@]}")" = "$stepped" ] || fail "the gauge's step reached the screen late"

"$SCREEN_READER" "$WINDOW" png "$WORK/window.png" || fail "the window can't be read back"
click_at 361 6
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
echo "on screen: presses, the lock and the gauge's step show at once"
