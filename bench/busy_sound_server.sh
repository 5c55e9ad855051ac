#!/usr/bin/env bash
# Song 1 through PipeWire for a minute while two CPU-bound processes run at
# the same priority: what a listener would hear of it, captured from the
# null sink's monitor in the server's own format, and the server's own
# count of the stream's underruns. Run on demand:
#   cmake --build <dir> --target bench-busy
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/lib.sh"
LISTEN=${LISTEN:?velmora_listen}
SECONDS_PLAYED=${SECONDS_PLAYED:-60}
export SDL_AUDIODRIVER=pulseaudio
# The PulseAudio service logs each cycle a stream has nothing to give.
export PULSE_DEBUG="2,mod.protocol-pulse:4"
start_x
start_sound_server
listen_to velmora_test "$WORK/heard.raw"
# pw-profiler leaves its plots in the folder it runs in.
(cd "$WORK" && exec timeout $(( SECONDS_PLAYED + 10 )) pw-profiler -o "$WORK/profile.log" > "$WORK/profiler.out" 2>&1) &
PROFILER_PID=$!
cp -r "$DISC_DIR" "$WORK/disc"
"$WORK/disc/velmora" "$WORK/disc/song1.xm" > "$WORK/disc.log" 2>&1 &
DISC_PID=$!
wait_main_window
hogs=()
for _ in 1 2; do
  sha256sum /dev/zero &
  hogs+=($!)
done
# STALL_AT=<s> holds the program for 100 ms at that time, to show that a
# dropout is heard and counted.
if [ -n "${STALL_AT:-}" ]; then
  sleep "$STALL_AT"; kill -STOP "$DISC_PID"; sleep 0.1; kill -CONT "$DISC_PID"
  sleep $(( SECONDS_PLAYED - STALL_AT ))
else
  sleep "$SECONDS_PLAYED"
fi
kill "${hogs[@]}"
kill "$PROFILER_PID" 2>/dev/null || true
wait "$PROFILER_PID" 2>/dev/null || true
stop_listening
close_disc

echo "load while playing: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "what the sink played (from 1 s on, past the start):"
"$LISTEN" --from 1 "$WORK/heard.raw" | grep -v '^largest step' | sed 's/^/  /'
# Underrun cycles in a row make one underrun; the stream's first cycles,
# before its first buffer, are none.
awk '/\[Velmora\] underrun/ {
       stamp = $1; gsub(/^\[[A-Z]\]\[|\]$/, "", stamp); now = stamp + 0
       if (!started) { started = now; last = now; next }
       if (now - last > 0.05) runs++
       last = now
     }
     END { printf "underruns the sound server counted: %d\n", runs }' "$WORK/pipewire-pulse.log"
follower=$(grep -n 'logging follower' "$WORK/profiler.out" | grep -n '"Velmora"' | cut -d: -f1 | head -n1)
if [ -n "$follower" ] && [ -s "$WORK/profile.log" ]; then
  column=$(( 5 + 8 * (follower - 1) + 7 ))
  awk -v c="$column" '{ if ($c > most) most = $c } END { printf "xruns of the stream in pw-profiler: %d\n", most }' "$WORK/profile.log"
fi
