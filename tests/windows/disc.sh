#!/usr/bin/env bash
# The Windows disc as a listener meets it: the zip unpacked into a folder of
# its own and started under wine, in a fresh wine prefix, on a private X
# server, its sound on SDL's disk output.
# - Its window is 370x214 and shows the skin pixel for pixel as the X11
#   disc does (but for the star and the caption, which change by themselves).
# - The key 3 plays song 3, S stops it, a click on a song plays it, the
#   media keys' play/pause pauses and resumes it, a drag moves the window by
#   the pointer's way.
# - A module named outside any ANSI code page, dropped from X through XDND,
#   plays; so does one handed over by a second start, which ends with 0 and
#   leaves one window.
# - The options window opens, its spin button sets the mix rate, and
#   closing it keeps the music going.
# - The close glyph ends the disc with exit code 0 and a Sound.opt beside
#   velmora.exe, with Windows line ends and the new rate.
# - Started again with that non-ASCII name on its command line, it plays it;
#   the end of the session ends it in order, the new volume kept.
#
# WINDOWS_ZIP: the zip scripts/build-windows made; DISC_DIR: the Linux
# program folder, whose window is the reference; SCREEN_READER, XDND_DROP:
# the Linux build's tools.
source "$(dirname "$0")/../e2e/lib.sh"
WINDOWS_ZIP=${WINDOWS_ZIP:?the Windows zip}
SCREEN_READER=${SCREEN_READER:?the screen reader}
XDND_DROP=${XDND_DROP:?the drag source}
export LANG=C.UTF-8

start_x

# What the X11 disc shows, with the pointer away from it.
SDL_AUDIODRIVER=dummy start_disc
window_geometry
xdotool mousemove 0 0
sleep 0.3
"$SCREEN_READER" "$WINDOW" png "$WORK/skin.png" || fail "the X11 window can't be read back"
kill "$DISC_PID"; wait "$DISC_PID" 2>/dev/null || true; DISC_PID=""

# A prefix of the test's own, as on a Windows with nothing else installed:
# no .NET and no browser engine offered at its first start.
export WINEPREFIX="$WORK/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# One wine server for every start, ended with the test.
mkdir -p "$WINEPREFIX"
wineserver --persistent
wineboot --init > "$WORK/wineboot.log" 2>&1 || fail "wineboot failed: $(tail -n 5 "$WORK/wineboot.log")"
windows_cleanup() {
  [ -n "$DISC_PID" ] && stop_child "$DISC_PID"
  DISC_PID=""
  wineserver --kill 2>/dev/null || true
  cleanup
}
trap windows_cleanup EXIT

mkdir "$WORK/windows"
(cd "$WORK/windows" && unzip -q "$WINDOWS_ZIP") || fail "the zip can't be unpacked"
program="$WORK/windows/disc/velmora.exe"
[ -f "$program" ] || fail "the zip holds no disc/velmora.exe"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="Z:$WORK/audio.raw"

start_windows_disc() { # [arguments]
  : > "$WORK/audio.raw"
  local started=$EPOCHREALTIME
  wine "$program" "$@" > "$WORK/disc.log" 2>&1 &
  DISC_PID=$!
  wait_main_window
  awk -v from="$started" -v to="$EPOCHREALTIME" 'BEGIN { printf "the window showed after %.2f s\n", to - from }'
}

start_windows_disc
window_geometry
[ "$WW"x"$WH" = 370x214 ] || fail "the window is ${WW}x$WH"
xdotool mousemove 0 0
skin_shown() { "$SCREEN_READER" "$WINDOW" find "$WORK/skin.png" 1 "${SKIN_CHANGES[@]}" > "$WORK/found"; }
wait_until "$PATIENCE" skin_shown || {
  "$SCREEN_READER" "$WINDOW" png "$WORK/windows.png"
  fail "the window doesn't show the skin as X11 does (see windows.png with KEEP_WORK=1)"
}
[ "$(cat "$WORK/found")" = "0 0" ] || fail "the skin shows at $(cat "$WORK/found") within the window"
resident=$(ps -o rss= -p "$(pgrep -f 'velmora.exe' | head -n1)" 2>/dev/null || echo "?")
echo "window 370x214, the skin as under X11; about $resident KiB resident"

xdotool windowfocus "$WINDOW" 2>/dev/null || true
xdotool key 3
becomes_heard || fail "the 3 key plays nothing"
xdotool key s
becomes_silent || fail "S didn't stop the song"
click_at 200 68   # song 2
becomes_heard || fail "a click on song 2 plays nothing"
# The keyboard's play/pause key, as wine hands it on from X.
xdotool key XF86AudioPlay
becomes_silent || fail "the play/pause key didn't pause the song"
xdotool key XF86AudioPlay
becomes_heard || fail "the play/pause key didn't resume the song"
echo "key 3 heard, S stopped it, a click on song 2 heard, the play/pause key paused and resumed it"

startX=$WX startY=$WY
drag 1 200 4 240 34
window_geometry
[ "$(( WX - startX )),$(( WY - startY ))" = "40,30" ] ||
  fail "a drag of 40,30 moved the window by $(( WX - startX )),$(( WY - startY ))"
echo "a drag moved the window by 40,30"

name="Grüße – 音楽 Ω.xm"
cp "$WORK/windows/disc/song4.xm" "$WORK/$name"
xdotool key s
becomes_silent || fail "S didn't stop the song"
"$XDND_DROP" $(( WX + 200 )) $(( WY + 100 )) "$WORK/$name" || fail "the drop did not happen"
becomes_heard || fail "the dropped module is not heard"
engine_box_shown && fail "the dropped module was refused"
echo "the module named $name dropped from X plays"

xdotool key s
becomes_silent || fail "S didn't stop the song"
cp "$WORK/windows/disc/song5.xm" "$WORK/handed.xm"
set +e; timeout "$PATIENCE" wine "$program" "Z:$WORK/handed.xm" > "$WORK/second.log" 2>&1; code=$?; set -e
[ "$code" = 0 ] || fail "the second start ended with $code: $(cat "$WORK/second.log")"
becomes_heard || fail "the handed file is not heard"
windows=$(xdotool search --onlyvisible --name "^Velmora - VYR's first Music Disc$" | wc -l)
[ "$windows" = 1 ] || fail "$windows main windows after the hand-over"
echo "a second start handed its file over and ended with 0"

step_rate up
becomes_heard || fail "the music stopped with the new mix rate"
echo "the options window set the mix rate"

close_disc
opt="$WORK/windows/disc/Sound.opt"
[ -f "$opt" ] || fail "no Sound.opt beside velmora.exe"
grep -q $'^Mixrate=44100\r$' "$opt" || fail "Sound.opt holds no Mixrate=44100 line with a Windows line end: $(cat -A "$opt")"
grep -qv $'\r$' "$opt" && fail "a line of Sound.opt lacks its Windows line end: $(cat -A "$opt")"
echo "the close glyph ended the disc with 0; Sound.opt beside velmora.exe"

start_windows_disc "Z:$WORK/$name"
becomes_heard || fail "the module named $name on the command line is not heard"
engine_box_shown && fail "the module named $name was refused"
echo "the module named $name on the command line plays"

# Logging off, as wine ends a session: every window is asked and told.
xdotool windowfocus "$WINDOW" 2>/dev/null || true
xdotool key minus
# The session's end is sent ahead of any input still queued: nothing tells
# when the key is taken, so it is given a moment.
sleep 1
wineboot --end-session
wait_exit "$PATIENCE"
[ "$EXIT_CODE" = 0 ] || fail "the end of the session ended the disc with $EXIT_CODE"
grep -q $'^Volume=95\r$' "$opt" || fail "the end of the session lost the volume: $(cat -A "$opt")"
echo "the end of the session ended the disc with 0, the volume kept"
