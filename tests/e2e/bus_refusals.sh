#!/usr/bin/env bash
# Files the desktop asks for in vain are refused on the bus at once, and
# told once: a burst of 1,000 bad addresses leaves the media controls
# answering and makes one message that counts them; an address of 10 MB is
# refused before anything is laid out, and the window goes on painting.
source "$(dirname "$0")/lib.sh"
SCREEN_READER=${SCREEN_READER:?the screen reader}
OPEN_URIS=${OPEN_URIS:?the OpenUri caller}
SONG2_PLATE=(98 48 209 40)
start_x
start_session_bus
start_disc
window_geometry
boxes() { xdotool search --onlyvisible --name "^Velmora - VYR's first Music Disc$" 2>/dev/null | grep -vx "$WINDOW" | wc -l; }
a_box() { [ "$(boxes)" -ge 1 ]; }
no_box() { [ "$(boxes)" = 0 ]; }

burst=$("$OPEN_URIS" 1000 "file://$WORK/no-such-file.xm")
[[ $burst == "answered 0 refused 1000 unanswered 0 "* ]] || fail "the burst was answered: $burst"
started=$(date +%s%N)
status=$(timeout 5 playerctl -p velmora status 2>&1) || fail "playerctl status did not answer after the burst"
status_ms=$(( ($(date +%s%N) - started) / 1000000 ))
[ "$status_ms" -le 1000 ] || fail "after the burst, playerctl status took $status_ms ms"
wait_until "$PATIENCE" a_box || fail "no message for the burst"
# A second message would come within the time refusals are gathered.
sleep 1
[ "$(boxes)" = 1 ] || fail "$(boxes) messages for one burst"
BOX=$(xdotool search --onlyvisible --name "^Velmora - VYR's first Music Disc$" | grep -vx "$WINDOW" | head -n1)
xdotool windowfocus "$BOX" 2>/dev/null || true
sleep 0.2
xdotool key Return
wait_until "$PATIENCE" no_box || fail "the message did not go"

rss_before=$(awk '/^VmRSS:/ {print $2}' "/proc/$DISC_PID/status")
started=$(date +%s%N)
long=$("$OPEN_URIS" --long 10000000)
[[ $long == "answered 0 refused 1 "* ]] || fail "a 10 MB address was not refused: $long"
wait_until "$PATIENCE" a_box || fail "no message for the 10 MB address"
told_ms=$(( ($(date +%s%N) - started) / 1000000 ))
[ "$told_ms" -le 2000 ] || fail "the message for a 10 MB address took $told_ms ms"
rss_after=$(awk '/^VmRSS:/ {print $2}' "/proc/$DISC_PID/status")
[ $(( rss_after - rss_before )) -lt 20000 ] || fail "the 10 MB address took the disc from $rss_before kB to $rss_after kB"
BOX=$(xdotool search --onlyvisible --name "^Velmora - VYR's first Music Disc$" | grep -vx "$WINDOW" | head -n1)
xdotool windowfocus "$BOX" 2>/dev/null || true
sleep 0.2
xdotool key Return
wait_until "$PATIENCE" no_box || fail "the message did not go"
xdotool windowfocus "$WINDOW" 2>/dev/null || true
painted=$("$SCREEN_READER" "$WINDOW" key 2 "${SONG2_PLATE[@]}")
awk -v ms="$painted" 'BEGIN { exit !(ms >= 0 && ms <= 100) }' || fail "the key was painted after $painted ms"
close_disc
echo "bus refusals: 1,000 refused ($burst), playerctl status in $status_ms ms, one message; a 10 MB address refused and told in $told_ms ms, ${rss_before} kB to ${rss_after} kB; a key painted in $painted ms"
