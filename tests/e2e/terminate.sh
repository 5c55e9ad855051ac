#!/usr/bin/env bash
# Asked to end by a signal (SIGTERM as the session closes, SIGHUP as the
# terminal it was started from closes), the disc ends in order with exit
# code 0 and stores its settings, a rate changed in the options window of
# that session among them, also while the options window keeps the main
# window from input. (SIGINT takes SIGTERM's road in SDL, but a program
# started in the background by a script has it ignored.)
source "$(dirname "$0")/lib.sh"
start_x
for signal in TERM HUP; do
  for modal in no yes; do
    start_disc
    window_geometry
    step_rate up
    [ "$modal" = no ] || open_options
    kill -"$signal" "$DISC_PID"
    wait_exit 10
    [ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after SIG$signal (options window open: $modal)"
    grep -q '^Mixrate=44100$' "$WORK/disc/Sound.opt" ||
      fail "Sound.opt lacks the changed rate after SIG$signal (options window open: $modal): $(cat "$WORK/disc/Sound.opt" 2>&1)"
    rm -rf "$WORK/disc"
  done
done
echo "terminate: an orderly end on SIGTERM and SIGHUP, with and without the options window"
