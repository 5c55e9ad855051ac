#!/usr/bin/env bash
# The keyboard as a user meets it, heard on SDL's disk output: 3 plays the
# third song, Space pauses it and resumes it, S stops it, Escape closes the
# disc with exit code 0.
source "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw"
start_x
start_disc

rms_since() { # the RMS amplitude (0..1) of the output from byte $1 on
  tail -c +"$(( $1 + 1 ))" "$WORK/audio.raw" > "$WORK/part.raw"
  sox -t raw -r 22050 -e signed -b 16 -c 2 "$WORK/part.raw" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}'
}
above() { awk -v level="$1" -v bound="$2" 'BEGIN { exit !(level > bound) }'; }

# A loaded machine may take a while to act on a key: each check waits for
# its outcome rather than sampling once.
xdotool key 3
becomes_heard || fail "the 3 key plays nothing"
xdotool key space
becomes_silent || fail "Space didn't pause the song"
xdotool key space
becomes_heard || fail "Space didn't resume the song"
xdotool key s
becomes_silent || fail "S didn't stop the song"

xdotool key Escape
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
echo "keys: 3 played, Space paused and resumed, S stopped, Escape closed"
