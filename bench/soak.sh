#!/usr/bin/env bash
# A long session under Xvfb, run on demand (never by CI): for SOAK_S
# seconds (default 600) the real disc is clicked, dropped on and
# reconfigured the way a user might over an evening: songs picked, the
# transport pressed, modules, text and a file that is no module dropped (its
# message answered), the options opened and the mix rate stepped up or down
# and applied. Its sound goes to SDL's disk driver (real time, into
# /dev/null).
#
# Prints the resident memory, threads and open files at the start, every
# minute and at the end, with the number of rounds; fails when the program
# dies, stops answering, or doesn't end in order at the close.
#
#   cmake --build build --target bench-soak
set -euo pipefail

DISC_DIR=${DISC_DIR:?the program folder, e.g. build/disc}
XDND_DROP=${XDND_DROP:?tools/xdnd/velmora_xdnd_drop}
SOAK_S=${SOAK_S:-600}

source "$(dirname "$0")/../tests/e2e/lib.sh"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null
start_x
start_disc
window_geometry

figures() { # label
  local rss threads files
  rss=$(awk '/^VmRSS:/ { print $2 }' /proc/"$DISC_PID"/status)
  threads=$(awk '/^Threads:/ { print $2 }' /proc/"$DISC_PID"/status)
  files=$(find /proc/"$DISC_PID"/fd -mindepth 1 -maxdepth 1 | wc -l)
  printf '%-10s %6d s  rounds %5d  RSS %7d kB  threads %3d  open files %3d\n' \
    "$1" $((SECONDS - started)) "$rounds" "$rss" "$threads" "$files"
}

alive() { kill -0 "$DISC_PID" 2>/dev/null || fail "the program died after $rounds rounds"; }

song() { # 1..5: the plates step down and to the left
  click_at $(( 238 - 29 * ($1 - 1) )) $(( 28 + 40 * ($1 - 1) ))
}

# Drops a file that is no module and answers the message it brings.
bad_drop() {
  "$XDND_DROP" $(( WX + 200 )) $(( WY + 100 )) "$WORK/notes.txt" || fail "the bad drop did not happen"
  local box=""
  for _ in $(seq 50); do
    box=$(xdotool search --onlyvisible --name '^MIDAS Sound System Error$' 2>/dev/null | head -n1 || true)
    [ -n "$box" ] && break
    sleep 0.1
  done
  [ -n "$box" ] || fail "no message for a file that is no module"
  xdotool windowfocus "$box" 2>/dev/null || true
  sleep 0.1
  xdotool key Return
  sleep 0.3
}

cp "$WORK/disc/song2.xm" "$WORK/dropped.xm"
echo "just words" > "$WORK/notes.txt"
for line in $(seq 20000); do echo "line $line of a long text dragged from an editor"; done > "$WORK/text.txt"

rounds=0
started=$SECONDS
figures start
next_report=60
while (( SECONDS - started < SOAK_S )); do
  song $(( rounds % 5 + 1 ))
  click_at 342 190   # fast-forward
  click_at 263 190   # rewind
  "$XDND_DROP" $(( WX + 200 )) $(( WY + 100 )) "$WORK/dropped.xm" || fail "the module drop did not happen"
  "$XDND_DROP" --text $(( WX + 200 )) $(( WY + 100 )) "$WORK/text.txt" || fail "the text drag did not finish"
  (( rounds % 4 == 0 )) && bad_drop
  step_rate $([ $(( rounds % 2 )) = 0 ] && echo up || echo down)
  click_at 303 190   # stop
  alive
  rounds=$(( rounds + 1 ))
  if (( SECONDS - started >= next_report )); then
    figures minute
    next_report=$(( next_report + 60 ))
  fi
done
figures end

click_at 361 6
wait_exit 30
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE at the close"
echo "soak: $rounds rounds in $((SECONDS - started)) s, ended in order"
