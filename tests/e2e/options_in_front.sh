#!/usr/bin/env bash
# Under a window manager the options window is a modal dialog of the main
# window: a click on the main window while it is up doesn't bury it.
source "$(dirname "$0")/lib.sh"
start_x
start_window_manager
start_disc
window_geometry

open_options
xprop -id "$OPTIONS" WM_TRANSIENT_FOR | grep -qi "$(printf '0x%x' "$WINDOW")" \
  || fail "the options window doesn't belong to the main window: $(xprop -id "$OPTIONS" WM_TRANSIENT_FOR)"
xprop -id "$OPTIONS" _NET_WM_STATE | grep -q _NET_WM_STATE_MODAL || fail "the options window isn't modal"

# Stacking from bottom to top: the options window must stay above.
above() {
  local order
  order=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g')
  local main_at=-1 options_at=-1 i=0
  for id in $order; do
    [ $(( id )) = $(( WINDOW )) ] && main_at=$i
    [ $(( id )) = $(( OPTIONS )) ] && options_at=$i
    i=$(( i + 1 ))
  done
  [ "$options_at" -gt "$main_at" ]
}
above || fail "the options window opened below the main window"
click_at 200 20     # on the main window, clear of the options window
click_at 30 190
sleep 0.5
above || fail "a click on the main window buried the options window"
xdotool key --window "$OPTIONS" Escape 2>/dev/null || true
kill "$DISC_PID"
echo "options in front: a modal dialog of the main window, still on top after clicks on the main window"
