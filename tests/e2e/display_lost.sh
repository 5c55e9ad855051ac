#!/usr/bin/env bash
# The X server goes away under the running program, a song playing, and
# again while the engine's start-up failure is shown: each time the program
# ends without a crash (exit code 1, saying why) and still stores its
# settings.
source "$(dirname "$0")/lib.sh"
start_x
start_disc
window_geometry
click_at 170 108   # song 3
sleep 0.5
rm -f "$WORK/disc/Sound.opt"
lose_display XVFB_PID
[ "$EXIT_CODE" = 1 ] || fail "exit code $EXIT_CODE after the display went away"
grep -q 'connection to the display was lost' "$WORK/disc.log" || fail "the program didn't say why it ended"
grep -q '^Mixrate=22050$' "$WORK/disc/Sound.opt" || fail "Sound.opt was not written"

# The player is still being made while its engine's failure is shown.
start_x
printf '[Sound]\nMixrate=44100\n' > "$WORK/disc/Sound.opt"
SDL_AUDIODRIVER=nosuchdriver "$WORK/disc/velmora" > "$WORK/disc.log" 2>&1 &
DISC_PID=$!
wait_box || fail "no start-up failure shown"
lose_display XVFB_PID
[ "$EXIT_CODE" = 1 ] || fail "exit code $EXIT_CODE after the display went away under the start-up failure"
grep -q '^Filter Mode=1$' "$WORK/disc/Sound.opt" || fail "Sound.opt was not written under the start-up failure"
grep -q '^Mixrate=44100$' "$WORK/disc/Sound.opt" || fail "Sound.opt lost the mix rate it was read with"
echo "display lost: an orderly end with exit code 1, settings stored, also under the start-up failure"
