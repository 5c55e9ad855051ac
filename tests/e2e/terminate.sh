#!/usr/bin/env bash
# Asked to end by a signal (as when the session closes), the disc ends in
# order with exit code 0 and stores its settings, also while the options
# window keeps the main window from input.
source "$(dirname "$0")/lib.sh"
start_x
for modal in no yes; do
  start_disc
  window_geometry
  if [ "$modal" = yes ]; then
    click_at 316 153   # Options
    sleep 1
    xdotool search --onlyvisible --name '^Velmora - The Options$' > /dev/null || fail "the options window did not open"
  fi
  kill -TERM "$DISC_PID"
  wait_exit 10
  [ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after SIGTERM (options window open: $modal)"
  grep -q '^Mixrate=' "$WORK/disc/Sound.opt" || fail "Sound.opt was not written (options window open: $modal)"
  rm -rf "$WORK/disc"
done
echo "terminate: an orderly end on SIGTERM, with and without the options window"
