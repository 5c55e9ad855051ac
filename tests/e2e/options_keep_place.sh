#!/usr/bin/env bash
# New settings restart the sound engine, and the song goes on from where it
# was heard, not from the start of its order position: heard through the
# sound server, in a module whose level tells the time within it.
source "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=pulseaudio
start_x
start_sound_server
"${TEST_SONGS:?the writer of the test songs}" "$WORK"
listen_to velmora_test "$WORK/capture.raw"
start_disc "$WORK/ramp.xm"
wait_capture_heard "$WORK/capture.raw" 5 || fail "the ramp is not heard"
window_geometry
step_rate up
sleep 1
stop_listening

level() { # from to (s)
  "${LISTEN:?the listener}" --rms --from "$1" --to "$2" "$WORK/capture.raw" | awk '/^rms/ {print $2}'
}
# The restart is the capture's first gap; the level just before and just
# after it, clear of the fades, tells the row (20 ms each) heard last and
# the row play went on from.
"$LISTEN" --gap 20 "$WORK/capture.raw" > "$WORK/heard.txt"
read -r gap_ms gap_at < <(awk '/^gap / {print $2, $5; exit}' "$WORK/heard.txt") ||
  fail "no restart is heard: $(cat "$WORK/heard.txt")"
gap_end=$(awk -v at="$gap_at" -v ms="$gap_ms" 'BEGIN { print at + ms / 1000 }')
loudest=$("$LISTEN" --rms --window 10 --from 0 --to "$gap_at" "$WORK/capture.raw" | awk '/^loudest/ {print $2}')
before=$(level "$(awk -v t="$gap_at" 'BEGIN { print t - 0.020 }')" "$(awk -v t="$gap_at" 'BEGIN { print t - 0.010 }')")
after=$(level "$(awk -v t="$gap_end" 'BEGIN { print t + 0.010 }')" "$(awk -v t="$gap_end" 'BEGIN { print t + 0.020 }')")
row_of() { awk -v level="$1" -v full="$loudest" 'BEGIN { printf "%.1f", level / full * 64 - 1 }'; }
row_before=$(row_of "$before")
row_after=$(row_of "$after")
# The two levels are read 30 ms of song apart, a row and a half; 50 ms
# either side of that is two and a half rows.
moved=$(awk -v a="$row_before" -v b="$row_after" \
  'BEGIN { d = b - a - 1.5; if (d < -32) d += 64; if (d > 32) d -= 64; printf "%.0f", d * 20 }')
[ "${moved#-}" -le 50 ] || fail "heard last at row $row_before, play went on at row $row_after: $moved ms away"
close_disc
grep -q '^Mixrate=44100$' "$WORK/disc/Sound.opt" || fail "the new mix rate was not kept"
echo "options keep the place: play went on $moved ms from where it was heard, after a gap of $gap_ms ms"
