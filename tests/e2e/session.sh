#!/usr/bin/env bash
# A short session of everything a user does, made to be run by the program
# built with the sanitizers too (tools/sanitize session), where any report
# fails it: start, play song 3, drop a module, drag text over the window,
# open the options, step the rate up and apply it, close. The program ends
# with exit code 0, its sound going on throughout, and keeps the new rate.
source "$(dirname "$0")/lib.sh"
XDND_DROP=${XDND_DROP:?the drag source}
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw"
start_x
start_disc
window_geometry

# Whether the output grows: over a second, and again when SDL's disk
# output started the file anew as the engine restarted.
grew() {
  local mark
  mark=$(stat -c %s "$WORK/audio.raw")
  sleep 1
  [ "$(stat -c %s "$WORK/audio.raw")" -gt "$mark" ]
}
sounding() { wait_until "$PATIENCE" grew; }

click_at 170 108   # song 3
sounding || fail "no sound while song 3 plays"

cp "$WORK/disc/song5.xm" "$WORK/dropped.xm"
"$XDND_DROP" $(( WX + 200 )) $(( WY + 100 )) "$WORK/dropped.xm" || fail "the module was not dropped"
for line in $(seq 500); do echo "line $line of a text dragged from an editor"; done > "$WORK/text.txt"
"$XDND_DROP" --text $(( WX + 200 )) $(( WY + 100 )) "$WORK/text.txt" || fail "the text drag did not finish"
sounding || fail "no sound after the drops"

step_rate up
xdotool search --onlyvisible --name '^Velmora - The Options$' > /dev/null 2>&1 && fail "the options window stayed"
sounding || fail "no sound after the engine restarted"

click_at 361 6
wait_exit 30
grep -E 'Sanitizer|runtime error' "$WORK/disc.log" >&2 && fail "the sanitizers reported"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
grep -q '^Mixrate=44100$' "$WORK/disc/Sound.opt" || fail "Sound.opt lacks the new rate"
echo "session: played, dropped a module and text, applied the options, closed"
