#!/usr/bin/env bash
# A sound server that hangs just as the disc opens its output again holds
# up only the sound. The server goes away while a song plays; it comes
# back while the disc is held, and hangs; then the disc goes on. A key is
# painted at once, the media controls answer, and once the server goes on
# the song chosen meanwhile is heard. In a second round, SIGTERM ends the
# disc in order while the server hangs, with Sound.opt written.
source "$(dirname "$0")/lib.sh"
SCREEN_READER=${SCREEN_READER:?the screen reader}
export SDL_AUDIODRIVER=pulseaudio
SONG2_PLATE=(98 48 209 40)
start_x
start_sound_server

# Plays song 1, takes the server away and brings it back hanging.
freeze() {
  listen_to velmora_test "$WORK/before.raw"
  start_disc
  window_geometry
  xdotool key 1
  wait_capture_heard "$WORK/before.raw" 5 || fail "song 1 is not heard"
  stop_listening
  stop_sound_server
  sleep 2.5
  kill -STOP "$DISC_PID"
  start_sound_server
  kill -STOP "${SOUND_PIDS[@]}"
  kill -CONT "$DISC_PID"
  # The disc tries the output once a second: it is inside the server's
  # connect now.
  sleep 2
}

freeze
painted=$("$SCREEN_READER" "$WINDOW" key 2 "${SONG2_PLATE[@]}")
awk -v ms="$painted" 'BEGIN { exit !(ms >= 0 && ms <= 100) }' ||
  fail "with the server hanging, the key was painted after $painted ms"
started=$(date +%s%N)
status=$(timeout 5 playerctl -p velmora status 2>&1) || fail "playerctl status did not answer: $status"
status_ms=$(( ($(date +%s%N) - started) / 1000000 ))
[ "$status_ms" -le 1000 ] || fail "playerctl status took $status_ms ms"
[ "$status" = Playing ] || fail "the status reads $status"
url=$(playerctl -p velmora metadata xesam:url 2>/dev/null)
[[ $url == */song2.xm ]] || fail "song 2 was chosen, the track is $url"

kill -CONT "${SOUND_PIDS[@]}"
listen_to velmora_test "$WORK/after.raw"
wait_capture_heard "$WORK/after.raw" 10 || fail "once the server went on, the song chosen meanwhile is not heard"
title=$(playerctl -p velmora metadata xesam:title 2>/dev/null)
[ "$title" = "Glass Harbour" ] || fail "song 2 was chosen, the title reads \"$title\""
stop_listening
close_disc
echo "with the server hanging: key painted in $painted ms, playerctl status in $status_ms ms; song 2 heard once it went on"

rm -rf "$WORK/disc"
freeze
rm -f "$WORK/disc/Sound.opt"
started=$(date +%s%N)
kill -TERM "$DISC_PID"
while [ -e "/proc/$DISC_PID" ] && [ "$(ps -o stat= -p "$DISC_PID")" != Z ]; do
  (( ($(date +%s%N) - started) / 1000000 < 10000 )) || fail "SIGTERM did not end the disc within 10 s"
  sleep 0.01
done
ended_ms=$(( ($(date +%s%N) - started) / 1000000 ))
wait_exit 1
[ "$EXIT_CODE" = 0 ] || fail "SIGTERM ended the disc with $EXIT_CODE"
[ "$ended_ms" -le 2000 ] || fail "SIGTERM took $ended_ms ms to end the disc"
grep -q '^Mixrate=22050$' "$WORK/disc/Sound.opt" || fail "Sound.opt was not written"
echo "with the server hanging: SIGTERM ended the disc in $ended_ms ms with exit code 0, Sound.opt written"
