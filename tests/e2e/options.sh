#!/usr/bin/env bash
# The options window as a user meets it: opened by the options button over a
# playing song, the mix rate stepped up with its arrow, closed with its close
# glyph; the main window takes no clicks meanwhile, the song goes on, and the
# next start finds the new rate in Sound.opt.
source "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw"
start_x
start_disc
window_geometry

click_at 200 68    # song 2
sleep 1
open_options
eval "$(xdotool getwindowgeometry --shell --prefix O "$OPTIONS")"
[ "$OWIDTH" = 274 ] && [ "$OHEIGHT" = 72 ] || fail "options window ${OWIDTH}x${OHEIGHT}"

# Dragged by its background, the options window follows the pointer exactly.
burst_drag "$OPTIONS" 140 66 4 -15 10 0.05
eval "$(xdotool getwindowgeometry --shell --prefix D "$OPTIONS")"
[ "$DX" = $(( OX - 60 )) ] && [ "$DY" = $(( OY + 40 )) ] || fail "the options window went to $DX,$DY from $OX,$OY"
OX=$DX; OY=$DY

# The main window is out of reach while the options are up.
click_at 361 6
kill -0 "$DISC_PID" 2>/dev/null || fail "the main window took a click during the options"

xdotool mousemove $(( OX + 80 )) $(( OY + 13 )) click 1   # mix rate up: 22050 -> 44100
sleep 0.3
xdotool mousemove $(( OX + 265 )) $(( OY + 6 )) click 1   # close and apply
sleep 1
xdotool search --onlyvisible --name '^Velmora - The Options$' > /dev/null 2>&1 && fail "the options window stayed"

mark=$(stat -c %s "$WORK/audio.raw")
sleep 1
grown=$(( $(stat -c %s "$WORK/audio.raw") - mark ))
[ "$grown" -gt 0 ] || fail "no sound after the engine restarted"

click_at 361 6
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
grep -q '^Mixrate=44100$' "$WORK/disc/Sound.opt" || fail "Sound.opt lacks the new rate: $(cat "$WORK/disc/Sound.opt")"
echo "options: opened modally, rate stepped up, applied, stored"
