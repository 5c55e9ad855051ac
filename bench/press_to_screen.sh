#!/usr/bin/env bash
# Milliseconds from pressing a song button to its pressed picture on the
# screen, read back from the X server, over a number of presses:
#   bench/press_to_screen.sh <program folder> <velmora_screen> [presses]
# A negative figure is a press whose picture didn't show within 2 s.
set -euo pipefail
export DISC_DIR=$1
reader=$2
presses=${3:-10}
source "$(dirname "$0")/../tests/e2e/lib.sh"
start_x
start_disc
window_geometry

for _ in $(seq "$presses"); do
  "$reader" "$WINDOW" press 200 68 98 48 209 40
  xdotool mouseup 1
  sleep 0.5
  xdotool click 1   # unlocks song 2, so the next press starts from its released picture
  sleep 0.5
done
