#!/usr/bin/env bash
# A session bus that takes connections but never answers delays the window
# by a second at most: the disc then runs without media controls and says
# so, also when started with a file.
source "$(dirname "$0")/lib.sh"
start_x
start_session_bus
kill -STOP "$BUS_PID"
for arguments in "" "$DISC_DIR/song3.xm"; do
  rm -rf "$WORK/disc"
  cp -r "$DISC_DIR" "$WORK/disc"
  started=$(date +%s%N)
  SDL_AUDIODRIVER=dummy "$WORK/disc/velmora" $arguments > "$WORK/disc.log" 2>&1 &
  DISC_PID=$!
  wait_main_window
  shown_ms=$(( ($(date +%s%N) - started) / 1000000 ))
  [ "$shown_ms" -le 3000 ] || fail "with a hung bus the window showed after $shown_ms ms"
  grep -q 'the session bus does not answer' "$WORK/disc.log" || fail "the hung bus went unmentioned"
  close_disc
  echo "with a hung session bus${arguments:+ and a file}: the window showed after $shown_ms ms"
done
kill -CONT "$BUS_PID"
