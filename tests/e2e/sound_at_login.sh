#!/usr/bin/env bash
# At log-in the disc may start before the desktop's sound server: it shows
# its window without a message box, takes a song meanwhile, and plays it
# as soon as the server is there.
source "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=   # SDL chooses, as on a desktop
start_x
start_session_bus
start_disc
xdotool key 1
sleep 3
xdotool search --onlyvisible --name '^MIDAS Sound System Error$' > /dev/null 2>&1 &&
  fail "a message box was shown while no sound server was there"
kill -0 "$DISC_PID" 2>/dev/null || fail "the disc ended without a sound server"
grep -q 'no sound server is there yet' "$WORK/disc.log" || fail "the missing server went unmentioned"

start_sound_server
listen_to velmora_test "$WORK/capture.raw"
wait_capture_heard "$WORK/capture.raw" 5 || fail "song 1 is not heard within 5 s of the server's start"
stop_listening
close_disc
echo "sound at log-in: no box without a server, song 1 heard ${HEARD_AFTER} s after the server started"
