#!/usr/bin/env bash
# Without a sound device the engine's message stays up until dismissed, the
# program then ends with exit code 0, and Sound.opt holds the settings.
source "$(dirname "$0")/lib.sh"
start_x
cp -r "$DISC_DIR" "$WORK/disc"
SDL_AUDIODRIVER=nosuchdriver "$WORK/disc/velmora" > "$WORK/disc.log" 2>&1 &
DISC_PID=$!
wait_box || fail "no message without a sound device"
sleep 1.5   # several ticks of the main window's timer
kill -0 "$DISC_PID" 2>/dev/null || fail "the program ended before the message was dismissed"
xdotool windowfocus "$BOX" 2>/dev/null || true
sleep 0.2
xdotool key Return
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
grep -q '^Mixrate=22050' "$WORK/disc/Sound.opt" || fail "Sound.opt was not written"
echo "no sound device: the message stayed until dismissed, exit code 0, settings stored"
