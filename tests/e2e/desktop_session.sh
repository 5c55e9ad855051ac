#!/usr/bin/env bash
# The disc in a whole desktop session, where every thread of it works: the
# sound thread, the engine's, SDL's audio thread, the session bus's. Made
# to be run by the program built with the sanitizers too (tools/sanitize
# desktop and thread), where any report fails it. On a session bus and
# PipeWire with its PulseAudio service: the media controls driven by
# playerctl, the sound server restarted, a module and text dropped, a file
# handed over by a second start and one refused on the bus, new settings
# from the options window, and the close.
source "$(dirname "$0")/lib.sh"
XDND_DROP=${XDND_DROP:?the drag source}
export SDL_AUDIODRIVER=pulseaudio
start_x
start_sound_server
pc() { playerctl -p velmora "$@" 2>/dev/null; }
url_ends() { [[ $(pc metadata xesam:url) == *"$1" ]]; }
wait_url() { # the end of the track's file name
  wait_until "$PATIENCE" url_ends "$1" || fail "the track is $(pc metadata xesam:url), not $1"
}
heard() { # what
  listen_to velmora_test "$WORK/heard.raw"
  wait_capture_heard "$WORK/heard.raw" 20 || fail "$1 is not heard"
  stop_listening
}

start_disc
window_geometry
listed() { playerctl -l 2>/dev/null | grep -qx velmora; }
wait_until "$PATIENCE" listed || fail "playerctl does not list the disc"
pc play
wait_url song1.xm
heard "play"
pc next
wait_url song2.xm
pc pause
status_is() { [ "$(pc status)" = "$1" ]; }
wait_until "$PATIENCE" status_is Paused || fail "pause reads $(pc status)"
pc play
pc volume 0.5
heard "resume"

stop_sound_server
sleep 1
start_sound_server
heard "the song after the server's restart"

cp "$WORK/disc/song5.xm" "$WORK/dropped.xm"
"$XDND_DROP" $(( WX + 200 )) $(( WY + 100 )) "$WORK/dropped.xm" || fail "the module was not dropped"
wait_url dropped.xm
for line in $(seq 200); do echo "line $line of a text dragged from an editor"; done > "$WORK/text.txt"
"$XDND_DROP" --text $(( WX + 200 )) $(( WY + 100 )) "$WORK/text.txt" || fail "the text drag did not finish"

cp "$WORK/disc/song4.xm" "$WORK/handed.xm"
"$WORK/disc/velmora" "$WORK/handed.xm" > "$WORK/second.log" 2>&1 || fail "the second start failed: $(cat "$WORK/second.log")"
wait_url handed.xm
pc open "file://$WORK/missing.xm" && fail "a missing file was taken"
titled_box_shown() {
  BOX=$(xdotool search --onlyvisible --name "^Velmora - VYR's first Music Disc$" 2>/dev/null | grep -vx "$WINDOW" | head -n1 || true)
  [ -n "$BOX" ]
}
wait_until "$PATIENCE" titled_box_shown || fail "the refused file was not told"
dismiss_box

step_rate up
heard "the song after new settings"

click_at 361 6
wait_exit 60
grep -E 'Sanitizer|runtime error' "$WORK/disc.log" >&2 && fail "the sanitizers reported"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
grep -q '^Mixrate=44100$' "$WORK/disc/Sound.opt" || fail "Sound.opt lacks the new rate"
grep -q '^Volume=50$' "$WORK/disc/Sound.opt" || fail "Sound.opt lacks the volume"
echo "desktop session: media controls, a server restart, drops, a hand-over, a refusal, new settings and the close"
