#!/usr/bin/env bash
# Song 1 through PipeWire, heard by a listener, on a busy machine: the disc
# and the minimal player (bench/minimal_player.cpp) play at the same time,
# each into a null sink of its own, while CPU-bound processes run at the
# same priority. Each run counts what a listener would hear as dropouts,
# captured from each sink's monitor in the server's own format, and the
# server's own count of the disc's underruns. Run on demand:
#   cmake --build <dir> --target bench-busy
#
#   LOADS="6 6 6 2"     the CPU-bound processes of each run, one run each
#   SECONDS_PLAYED=60   the length of each run
#   STALL_AT=<s>        holds the disc for 100 ms at that time of each run,
#                       to show that a dropout is heard and counted
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/lib.sh"
LISTEN=${LISTEN:?velmora_listen}
MINIMAL_PLAYER=${MINIMAL_PLAYER:?the minimal player}
SECONDS_PLAYED=${SECONDS_PLAYED:-60}
read -r -a loads <<< "${LOADS:-6 6 6 2}"
export SDL_AUDIODRIVER=pulseaudio
# The PulseAudio service logs each cycle a stream has nothing to give.
export PULSE_DEBUG="2,mod.protocol-pulse:4"
start_x
cp -r "$DISC_DIR" "$WORK/disc"

# Gaps of 5 ms or more in a capture, past the first second (the start);
# "nothing" when the sink heard nothing at all.
gaps_in() { # capture
  "$LISTEN" --from 1 "$1" | awk '/^sound none/ {print "nothing"; exit} /^gaps / {print $2}'
}
longest_in() { # capture
  "$LISTEN" --from 1 "$1" | awk '/^gaps / {print $(NF - 1)}'
}
# Underrun cycles in a row make one underrun; the stream's first cycles,
# before its first buffer, are none.
underruns() {
  awk '/\[Velmora\] underrun/ {
         stamp = $1; gsub(/^\[[A-Z]\]\[|\]$/, "", stamp); now = stamp + 0
         if (!started) { started = now; last = now; next }
         if (now - last > 0.05) runs++
         last = now
       }
       END { print runs + 0 }' "$WORK/pipewire-pulse.log"
}

results=()
run=0
for load in "${loads[@]}"; do
  run=$(( run + 1 ))
  : > "$WORK/pipewire-pulse.log"
  start_sound_server
  add_null_sink minimal_test
  listen_to velmora_test "$WORK/disc-$run.raw"
  disc_listener=$LISTEN_PID
  listen_to minimal_test "$WORK/minimal-$run.raw"
  minimal_listener=$LISTEN_PID
  "$WORK/disc/velmora" "$WORK/disc/song1.xm" > "$WORK/disc.log" 2>&1 &
  DISC_PID=$!
  wait_main_window
  PULSE_SINK=minimal_test "$MINIMAL_PLAYER" "$WORK/disc/song1.xm" > "$WORK/minimal.log" 2>&1 &
  minimal=$!
  hogs=()
  for _ in $(seq "$load"); do
    sha256sum /dev/zero &
    hogs+=($!)
  done
  if [ -n "${STALL_AT:-}" ]; then
    sleep "$STALL_AT"; kill -STOP "$DISC_PID"; sleep 0.1; kill -CONT "$DISC_PID"
    sleep $(( SECONDS_PLAYED - STALL_AT ))
  else
    sleep "$SECONDS_PLAYED"
  fi
  loadavg=$(cut -d' ' -f1 /proc/loadavg)
  kill "${hogs[@]}"
  wait "${hogs[@]}" 2>/dev/null || true
  for listener in "$disc_listener" "$minimal_listener"; do kill "$listener"; wait "$listener" 2>/dev/null || true; done
  LISTEN_PID=""
  kill "$minimal"; wait "$minimal" 2>/dev/null || true
  close_disc
  stop_sound_server
  results+=("$(printf 'run %d, %d CPU-bound (load %s): disc %s gaps (longest %s ms), %s underruns; minimal player %s gaps (longest %s ms)' \
    "$run" "$load" "$loadavg" "$(gaps_in "$WORK/disc-$run.raw")" "$(longest_in "$WORK/disc-$run.raw")" \
    "$(underruns)" "$(gaps_in "$WORK/minimal-$run.raw")" "$(longest_in "$WORK/minimal-$run.raw")")")
  echo "${results[-1]}"
done
echo "gaps of 5 ms or more, from 1 s on, in ${SECONDS_PLAYED} s each:"
printf '  %s\n' "${results[@]}"
