#!/usr/bin/env bash
# Minimising needs a window manager: under openbox the minimise glyph turns
# the main window iconic.
source "$(dirname "$0")/lib.sh"
start_x
start_window_manager
start_disc
window_geometry
click_at 351 6
for _ in $(seq 30); do
  xprop -id "$WINDOW" WM_STATE 2>/dev/null | grep -q 'Iconic' && break
  sleep 0.1
done
xprop -id "$WINDOW" WM_STATE | grep -q 'Iconic' || fail "the window is not minimised: $(xprop -id "$WINDOW" WM_STATE)"
kill "$DISC_PID"
echo "minimise: the main window went to the task bar"
