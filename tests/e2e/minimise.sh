#!/usr/bin/env bash
# Minimising needs a window manager: under openbox the minimise glyph turns
# the main window iconic.
source "$(dirname "$0")/lib.sh"
start_x
start_window_manager
start_disc
window_geometry
click_at 351 6
iconic() { xprop -id "$WINDOW" WM_STATE 2>/dev/null | grep -q 'Iconic'; }
wait_until "$PATIENCE" iconic || fail "the window is not minimised: $(xprop -id "$WINDOW" WM_STATE)"
kill "$DISC_PID"
echo "minimise: the main window went to the task bar"
