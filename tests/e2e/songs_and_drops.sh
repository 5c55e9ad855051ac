#!/usr/bin/env bash
# A user's session with the real engine on SDL's disk output: song 3 is
# heard, a dropped file that is no module shows the engine's message while
# song 3 plays on (and drops are refused while the message is up), a
# dropped module plays, and closing writes Sound.opt and ends with exit code 0.
source "$(dirname "$0")/lib.sh"
XDND_DROP=${XDND_DROP:?the drag source}
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw"
start_x
start_disc
window_geometry

rms() { # the RMS amplitude (0..1) of the output captured from byte $1 on
  tail -c +"$(( $1 + 1 ))" "$WORK/audio.raw" > "$WORK/part.raw"
  sox -t raw -r 22050 -e signed -b 16 -c 2 "$WORK/part.raw" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}'
}
loud() { awk -v level="$1" 'BEGIN { exit !(level > 0.01) }'; }

click_at 170 108   # song 3
sleep 2
level=$(rms 0)
loud "$level" || fail "song 3 is not heard (RMS $level)"

echo "just words" > "$WORK/notes.txt"
"$XDND_DROP" $(( WX + 200 )) $(( WY + 100 )) "$WORK/notes.txt" || fail "the drop did not happen"
wait_box || fail "no message for a file that is no module"
mark=$(stat -c %s "$WORK/audio.raw")
sleep 1
level=$(rms "$mark")
loud "$level" || fail "song 3 stopped for a file that is no module (RMS $level)"
refused=0
"$XDND_DROP" $(( WX + 200 )) $(( WY + 20 )) "$WORK/disc/song1.xm" 2>/dev/null || refused=$?
[ "$refused" = 2 ] || fail "a drop while the message is up was not refused (exit $refused)"
xdotool windowfocus "$BOX" 2>/dev/null || true
sleep 0.2
xdotool key Return
sleep 0.5
kill -0 "$DISC_PID" 2>/dev/null || fail "the program ended after a bad drop"
mark=$(stat -c %s "$WORK/audio.raw")
sleep 1
level=$(rms "$mark")
loud "$level" || fail "song 3 is not heard after the message (RMS $level)"

cp "$WORK/disc/song5.xm" "$WORK/dropped.xm"
mark=$(stat -c %s "$WORK/audio.raw")
"$XDND_DROP" $(( WX + 200 )) $(( WY + 100 )) "$WORK/dropped.xm" || fail "the second drop did not happen"
sleep 2
level=$(rms "$mark")
loud "$level" || fail "the dropped module is not heard (RMS $level)"

click_at 361 6
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
grep -q '^Mixrate=22050$' "$WORK/disc/Sound.opt" || fail "Sound.opt was not written"
echo "songs and drops: heard, message shown, module dropped, settings stored"
