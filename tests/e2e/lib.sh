# Shared by the end-to-end tests: a private X server, the disc started in a
# scratch copy of its program folder, and helpers to find and poke its window.
set -euo pipefail

DISC_DIR=${DISC_DIR:?the program folder}
WORK=$(mktemp -d /tmp/velmora-e2e.XXXXXX)
XVFB_PID=""
DISC_PID=""
WM_PID=""
BUS_PID=""
SOUND_PIDS=()
LISTEN_PID=""
WESTON_PID=""

# Nothing of the machine's own desktop session: no session bus unless a
# test starts its own, and a runtime folder of the test's.
unset DBUS_SESSION_BUS_ADDRESS
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Ends a child and waits for it, for at most 10 s before SIGKILL: a disc
# still ending writes Sound.opt into the scratch folder after it is gone.
# Whether a child has ended (and waits to be reaped).
ended() { # pid
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null) || return 0
  [[ $state == Z* ]]
}
stop_child() { # pid
  kill "$1" 2>/dev/null || return 0
  wait_until 10 ended "$1" || true
  kill -KILL "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

# Every child is waited for: one still going away can take its display's
# socket with it after the next test's server has taken the same number,
# or write into the scratch folder once it is removed.
cleanup() {
  [ -n "$DISC_PID" ] && stop_child "$DISC_PID"
  [ -n "$WM_PID" ] && stop_child "$WM_PID"
  [ -n "$LISTEN_PID" ] && stop_child "$LISTEN_PID"
  stop_sound_server
  [ -n "$BUS_PID" ] && stop_child "$BUS_PID"
  if [ -n "$WESTON_PID" ]; then
    kill "$WESTON_PID" 2>/dev/null || true
    wait "$WESTON_PID" 2>/dev/null || true
  fi
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
  # KEEP_WORK=1 leaves the scratch folder, logs and captures, for a look.
  if [ -n "${KEEP_WORK:-}" ]; then echo "kept $WORK" >&2; else rm -rf "$WORK"; fi
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; [ -f "$WORK/disc.log" ] && tail -n 30 "$WORK/disc.log" >&2; exit 1; }

# Waits for a command to succeed, asking again every 50 ms, for at most the
# seconds given: every wait ends on what it waits for, and the deadlines
# leave a busy machine all the time it needs.
wait_until() { # seconds command...
  local deadline=$(( SECONDS + $1 ))
  shift
  until "$@"; do
    (( SECONDS < deadline )) || return 1
    sleep 0.05
  done
}
# How long a wait for the program or a server may take at most.
PATIENCE=${PATIENCE:-30}

# -noreset: a server resets when its last client leaves, and refuses
# connections meanwhile; the program would start into that moment.
start_x() { # [screen, e.g. 2560x1600x24]
  exec 5> "$WORK/display"
  Xvfb -displayfd 5 -screen 0 "${1:-1024x768x24}" -nolisten tcp -noreset > "$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  wait_until "$PATIENCE" test -s "$WORK/display" || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$WORK/display")"
  # The pointer starts at the centre of the screen, inside the window.
  xdotool mousemove 5 5
}

# A session bus of the test's own, as a desktop session has one.
start_session_bus() {
  dbus-daemon --session --address="unix:path=$WORK/bus" --nofork --print-pid=6 6> "$WORK/bus.pid" \
    > "$WORK/bus.log" 2>&1 &
  BUS_PID=$!
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/bus"
  wait_until "$PATIENCE" test -S "$WORK/bus" || fail "the session bus did not start"
}

# The desktop's sound server on the test's runtime folder and session bus:
# PipeWire, its session manager and its PulseAudio service, with a null
# sink, velmora_test, as the default output. PW_DEBUG and PULSE_DEBUG, when
# set, are PipeWire's and its PulseAudio service's PIPEWIRE_DEBUG: with
# "2,pw.node:3" PipeWire logs each cycle that its graph missed.
start_sound_server() {
  [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || start_session_bus
  export XDG_STATE_HOME="$WORK/state"
  PIPEWIRE_DEBUG=${PW_DEBUG:-} pipewire >> "$WORK/pipewire.log" 2>&1 &
  SOUND_PIDS+=($!)
  wait_until "$PATIENCE" test -S "$XDG_RUNTIME_DIR/pipewire-0" || fail "PipeWire did not start"
  wireplumber >> "$WORK/wireplumber.log" 2>&1 &
  SOUND_PIDS+=($!)
  PIPEWIRE_DEBUG=${PULSE_DEBUG:-} pipewire-pulse >> "$WORK/pipewire-pulse.log" 2>&1 &
  SOUND_PIDS+=($!)
  wait_until "$PATIENCE" timeout 5 pactl info > /dev/null 2>&1 || fail "the sound server did not start"
  add_null_sink velmora_test
  pactl set-default-sink velmora_test
}

stop_sound_server() {
  local pid
  # A server a test froze takes its end once it goes on.
  for pid in "${SOUND_PIDS[@]}"; do kill -CONT "$pid" 2>/dev/null || true; done
  for pid in "${SOUND_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${SOUND_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  SOUND_PIDS=()
}

# The PulseAudio service answers before its session manager has set it up,
# and refuses modules until then ("Not supported"): it is asked again.
add_null_sink() { # name
  wait_until "$PATIENCE" pactl load-module module-null-sink sink_name="$1" sink_properties=device.description="$1" \
    > /dev/null 2>> "$WORK/pactl.log" || fail "the sound server takes no null sink: $(tail -n 1 "$WORK/pactl.log")"
}

# Records what a sink plays, as interleaved float32 stereo at 48 kHz, the
# sound server's own format: a dropout stays digital silence, a replayed
# buffer an exact repeat. Returns once the server lists the recording.
# Sets LISTEN_PID.
listen_to() { # sink file
  local before
  before=$(pactl list short source-outputs 2>/dev/null | wc -l)
  parec --device="$1.monitor" --format=float32le --rate=48000 --channels=2 --raw --latency-msec=20 \
    > "$2" 2>> "$WORK/parec.log" &
  LISTEN_PID=$!
  recording() { [ "$(pactl list short source-outputs 2>/dev/null | wc -l)" -gt "$before" ]; }
  wait_until "$PATIENCE" recording || fail "the recording of $1 did not start"
}
stop_listening() {
  [ -n "$LISTEN_PID" ] && kill "$LISTEN_PID" 2>/dev/null || true
  wait "$LISTEN_PID" 2>/dev/null || true
  LISTEN_PID=""
}
# The RMS amplitude of a capture's last $2 ms (all of it by default).
capture_rms() { # file [ms]
  local bytes=$(( 384 * ${2:-3600000} ))
  tail -c "$bytes" "$1" > "$WORK/capture-part.raw"
  sox -t raw -r 48000 -e floating-point -b 32 -c 2 "$WORK/capture-part.raw" -n stat 2>&1 |
    awk '/RMS +amplitude/ {print $3}'
}
# Waits up to $2 seconds for the capture's last half second to sound; sets
# HEARD_AFTER to the seconds it took.
wait_capture_heard() { # file seconds
  local started=$SECONDS
  capture_sounds() {
    local level
    level=$(capture_rms "$1" 500)
    [ -n "$level" ] && above "$level" 0.01
  }
  wait_until "$2" capture_sounds "$1" || return 1
  HEARD_AFTER=$(( SECONDS - started ))
}

# A Wayland desktop for the disc: weston, nested in the test's own Xvfb,
# which lends it a seat, so that xdotool's keys and pointer reach the disc
# through it. Its output, 1024x768 at the scale given (1 unless given) and
# so that many times as many pixels each way, lies at the Xvfb's top left
# and is read back from the Xvfb ($OUTPUT is its X window). Weston follows
# the X pointer by its moves and takes its place anew when it enters: the
# screen around the output lets the pointer leave and come back. Before
# weston starts, the disc shows its window on the Xvfb itself, as under
# X11, and what it shows there is what it must show under weston:
# $WORK/skin.png as it starts, $WORK/song2.png once song 2 is clicked.
SKIN_CHANGES=(4 4 70 92 312 104 9 9 80 32 9 9)   # the info caption, the star's places
GAUGE=(348 20 13 109)
WESTON_SCALE=1
start_weston() { # [output scale]
  SCREEN_READER=${SCREEN_READER:?the screen reader}
  WESTON_SCALE=${1:-1}
  local width=$(( 1024 * WESTON_SCALE )) height=$(( 768 * WESTON_SCALE ))
  start_x "$(( width + 256 ))x$(( height + 32 ))x24"
  SDL_AUDIODRIVER=dummy start_disc
  window_geometry
  xdotool mousemove 0 0
  sleep 0.3
  "$SCREEN_READER" "$WINDOW" png "$WORK/skin.png" || fail "the X11 window can't be read back"
  click_at 200 68
  xdotool mousemove 0 0
  sleep 0.3
  "$SCREEN_READER" "$WINDOW" png "$WORK/song2.png" || fail "the X11 window can't be read back"
  kill "$DISC_PID"; wait "$DISC_PID" 2>/dev/null || true; DISC_PID=""
  rm -rf "$WORK/disc"
  cat > "$WORK/weston.ini" <<'INI'
[core]
idle-time=0

[shell]
panel-position=none
background-color=0xff203040
locking=false
animation=none
startup-animation=none
close-animation=none
INI
  weston --backend=x11-backend.so --use-pixman --config="$WORK/weston.ini" --socket=velmora-wayland \
    --width=1024 --height=768 --scale="$WESTON_SCALE" > "$WORK/weston.log" 2>&1 &
  WESTON_PID=$!
  OUTPUT=""
  weston_up() {
    OUTPUT=$(xwininfo -root -tree 2>/dev/null | awk '/"Weston Compositor/ {print $1; exit}')
    [ -n "$OUTPUT" ] && [ -S "$XDG_RUNTIME_DIR/velmora-wayland" ]
  }
  wait_until "$PATIENCE" weston_up || fail "weston did not start: $(tail -n 5 "$WORK/weston.log")"
  sleep 0.5
  xdotool mousemove $(( width + 200 )) $(( height + 20 )) sleep 0.2 mousemove 100 100 sleep 0.2
}

# The disc as a Wayland client: no X display of its own. Weston hands its
# seat's keyboard on only while its own window has the X server's focus.
start_wayland_disc() { # [arguments]
  xdotool windowfocus "$OUTPUT"
  cp -r "$DISC_DIR" "$WORK/disc"
  env -u DISPLAY WAYLAND_DISPLAY=velmora-wayland SDL_VIDEODRIVER=wayland \
    SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" ${VELMORA_WRAPPER:-} "$WORK/disc/velmora" "$@" \
    > "$WORK/disc.log" 2>&1 &
  DISC_PID=$!
  wait_until "$PATIENCE" locate_disc 2>/dev/null || fail "the disc's window did not appear under weston"
}

# Drops files on the disc under weston as a Wayland file manager does:
# velmora_wayland_drop's handle, at the output's top left, is pressed and
# dragged to a point of the window. Returns the drag source's exit code (0:
# the disc took the files).
wayland_drop() { # x y file... (window coordinates)
  local x=$(( WX + $1 )) y=$(( WY + $2 )) step code
  shift 2
  env -u DISPLAY WAYLAND_DISPLAY=velmora-wayland "${WAYLAND_DROP:?the Wayland drag source}" "$@" \
    > "$WORK/drop.log" 2>&1 &
  local source=$!
  wait_until "$PATIENCE" grep -q '^ready$' "$WORK/drop.log" || fail "the Wayland drag source did not start"
  xdotool mousemove 16 16 sleep 0.2 mousedown 1 sleep 0.2
  for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $(( 16 + (x - 16) * step / 8 )) $(( 16 + (y - 16) * step / 8 )) sleep 0.05
  done
  xdotool sleep 0.2 mouseup 1
  set +e; wait "$source"; code=$?; set -e
  return "$code"
}

# Where weston shows the picture (skin.png unless named) in blocks of the
# output's scale, but for the parts that change by themselves: sets WX, WY
# (output pixels, as xdotool's screen). The pointer waits at the output's
# far corner meanwhile.
locate_disc() { # [picture [ignored rectangles...]]
  local picture=${1:-$WORK/skin.png} found
  [ $# -gt 0 ] && shift
  xdotool mousemove $(( 1024 * WESTON_SCALE - 1 )) $(( 768 * WESTON_SCALE - 1 ))
  sleep 0.2
  found=$("$SCREEN_READER" "$OUTPUT" find "$picture" "$WESTON_SCALE" "${SKIN_CHANGES[@]}" "$@") || return 1
  read -r WX WY <<< "$found"
}

# The RMS amplitude (0..1) of the disk output from byte $1 on, $2 bytes of
# it at most (all when not given).
rms_from() { # from [bytes]
  tail -c +"$(( $1 + 1 ))" "$WORK/audio.raw" | head -c "${2:-999999999}" > "$WORK/part.raw"
  sox -t raw -r 22050 -e signed -b 16 -c 2 "$WORK/part.raw" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}'
}
above() { awk -v level="$1" -v bound="$2" 'BEGIN { exit !(level > bound) }'; }
output_bytes() { stat -c %s "$WORK/audio.raw"; }
# Waits for the output's next half second to sound, or to fall silent, for
# at most PATIENCE seconds.
half_second_above() { # level
  local from
  from=$(output_bytes)
  sleep 0.5
  above "$(rms_from "$from")" "$1"
}
becomes_heard() { wait_until "$PATIENCE" half_second_above 0.01; }
half_second_silent() { ! half_second_above 0.0001; }
becomes_silent() { wait_until "$PATIENCE" half_second_silent; }

# openbox, for what only a window manager does: minimising, stacking.
# Returns once it manages the screen.
start_window_manager() {
  openbox > "$WORK/openbox.log" 2>&1 &
  WM_PID=$!
  managed() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
  wait_until "$PATIENCE" managed || fail "openbox did not start"
}

# Copies the program folder, so settings written by a run stay in the test,
# and starts the disc with the arguments given. The sound goes to
# SDL_AUDIODRIVER, dummy unless set; set and empty, SDL chooses as it does
# on a desktop.
start_disc() { # [arguments]
  cp -r "$DISC_DIR" "$WORK/disc"
  local audio=(env SDL_AUDIODRIVER="${SDL_AUDIODRIVER-dummy}")
  [ -n "${SDL_AUDIODRIVER-dummy}" ] || audio=(env -u SDL_AUDIODRIVER)
  "${audio[@]}" ${VELMORA_WRAPPER:-} "$WORK/disc/velmora" "$@" > "$WORK/disc.log" 2>&1 &
  DISC_PID=$!
  wait_main_window
  sleep 0.3
}

# Waits for the main window; sets WINDOW.
wait_main_window() {
  WINDOW=""
  main_window_shown() {
    WINDOW=$(xdotool search --onlyvisible --name "^Velmora - VYR's first Music Disc$" 2>/dev/null | head -n1 || true)
    [ -n "$WINDOW" ]
  }
  wait_until "$PATIENCE" main_window_shown && return
  cat "$WORK/disc.log" >&2
  fail "the main window did not appear"
}

# Waits for the engine's message box; sets BOX.
engine_box_shown() {
  BOX=$(xdotool search --onlyvisible --name '^MIDAS Sound System Error$' 2>/dev/null | head -n1 || true)
  [ -n "$BOX" ]
}
wait_box() { BOX=""; wait_until "$PATIENCE" engine_box_shown; }
# Answers the message box with Return and waits for it to go.
dismiss_box() {
  local box=$BOX
  xdotool windowfocus "$box" 2>/dev/null || true
  sleep 0.2
  xdotool key Return
  box_gone() { ! xwininfo -id "$box" 2>/dev/null | grep -q 'IsViewable'; }
  wait_until "$PATIENCE" box_gone || fail "the message box did not go"
}

window_geometry() {
  eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
  WX=$X; WY=$Y; WW=$WIDTH; WH=$HEIGHT
}

# Presses at a point of the window, moves by steps, releases.
drag() { # button fromX fromY toX toY (window coordinates at the start)
  local button=$1 x0=$(( WX + $2 )) y0=$(( WY + $3 )) x1=$(( WX + $4 )) y1=$(( WY + $5 ))
  xdotool mousemove "$x0" "$y0"
  sleep 0.1
  xdotool mousedown "$button"
  for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $(( x0 + (x1 - x0) * step / 8 )) $(( y0 + (y1 - y0) * step / 8 ))
    sleep 0.05
  done
  sleep 0.1
  xdotool mouseup "$button"
  sleep 0.2
}

# Presses at a point of a window, moves by equal steps with the pause
# between them (none by default) and releases right after the last move.
burst_drag() { # window fromX fromY steps dx dy [pause] (window coordinates at the start)
  local window=$1 x y steps=$4 dx=$5 dy=$6 pause=${7:-0}
  eval "$(xdotool getwindowgeometry --shell --prefix B "$window")"
  x=$(( BX + $2 )); y=$(( BY + $3 ))
  local moves=()
  for step in $(seq "$steps"); do
    moves+=(mousemove $(( x + dx * step )) $(( y + dy * step )))
    [ "$pause" = 0 ] || moves+=(sleep "$pause")
  done
  xdotool mousemove "$x" "$y" sleep 0.1 mousedown 1 "${moves[@]}" mouseup 1
  sleep 0.3
}

click_at() { # x y (window coordinates)
  xdotool mousemove $(( WX + $1 )) $(( WY + $2 ))
  sleep 0.1
  xdotool click 1
  sleep 0.2
}

wait_exit() { # seconds; sets EXIT_CODE
  wait_until "$1" ended "$DISC_PID" || fail "the program did not end"
  set +e; wait "$DISC_PID"; EXIT_CODE=$?; set -e
  DISC_PID=""
}

# The display server dies at once, as in a crash, and the disc's end is
# waited for (sets EXIT_CODE). Takes the name of the variable that holds
# the server's process.
lose_display() { # XVFB_PID|WESTON_PID
  local -n server=$1
  kill -9 "$server"
  wait "$server" 2>/dev/null || true
  server=""
  wait_exit 10
}

# Fails unless the sound SDL's disk output wrote to file (at the default
# settings: 22050 Hz, 16 bit, stereo) is louder than silence.
expect_heard() { # file what
  local level
  level=$(sox -t raw -r 22050 -e signed -b 16 -c 2 "$1" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
  awk -v level="$level" 'BEGIN { exit !(level > 0.01) }' || fail "$2 is not heard (RMS $level)"
}

# Closes the disc with its close glyph; fails unless it ends with 0.
close_disc() {
  window_geometry
  click_at 361 6
  wait_exit 10
  [ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
}

# Clicks the Options button and waits for the window; sets OPTIONS.
open_options() {
  click_at 316 153
  OPTIONS=""
  options_shown() {
    OPTIONS=$(xdotool search --onlyvisible --name '^Velmora - The Options$' 2>/dev/null | head -n1 || true)
    [ -n "$OPTIONS" ]
  }
  wait_until "$PATIENCE" options_shown || fail "the options window did not open"
}

# Opens the options, steps the mix rate one step up (22050 -> 44100) or
# down with its spin button, and closes the window, which applies it.
step_rate() { # up|down
  open_options
  eval "$(xdotool getwindowgeometry --shell --prefix O "$OPTIONS")"
  local y=$(( OY + 13 ))   # the spin button's upper half
  [ "$1" = up ] || y=$(( OY + 27 ))
  xdotool mousemove $(( OX + 80 )) "$y" click 1
  sleep 0.3
  xdotool mousemove $(( OX + 265 )) $(( OY + 6 )) click 1   # close and apply
  options_gone() { ! xwininfo -id "$OPTIONS" 2>/dev/null | grep -q 'IsViewable'; }
  wait_until "$PATIENCE" options_gone || fail "the options window did not close"
}
