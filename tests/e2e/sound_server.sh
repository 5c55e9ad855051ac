#!/usr/bin/env bash
# The disc on the sound server desktops run, PipeWire with its PulseAudio
# service, heard on a null sink's monitor: a song is heard; it is heard
# again, without a click, after the server restarts and after four seconds
# without one; it follows a new default sink; stop is silent; the close
# glyph ends it with exit code 0 and Sound.opt written.
source "$(dirname "$0")/lib.sh"
LISTEN="$(dirname "$DISC_DIR")/tools/listen/velmora_listen"
export SDL_AUDIODRIVER=pulseaudio
start_x
start_sound_server
listen_to velmora_test "$WORK/first.raw"
start_disc
xdotool key 1
wait_capture_heard "$WORK/first.raw" 5 || fail "song 1 is not heard on the sound server"
pactl list sink-inputs | grep -q 'application.name = "Velmora"' || fail "the mixer does not list the stream as Velmora"
sleep 3
stop_listening
own_step=$("$LISTEN" "$WORK/first.raw" | awk '/^largest step/ {print $3}')

# Comes back after a restart, and after four seconds with no server: the
# song goes on from where it stopped, fading in, with no gap. Sets RETURN to
# what was heard, or to what was wrong with it and returns 1.
return_heard() { # seconds without a server
  stop_sound_server
  sleep "$1"
  # The disc is held while the server and the listener start: one that got
  # in first would be captured from the middle of its sound, which reads
  # as a step out of silence.
  kill -STOP "$DISC_PID"
  start_sound_server
  listen_to velmora_test "$WORK/back-$1.raw"
  LATE_FROM=$(( $(wc -l < "$WORK/pipewire.log") + 1 ))
  kill -CONT "$DISC_PID"
  wait_capture_heard "$WORK/back-$1.raw" 5 || fail "the song is not heard again within 5 s after $1 s without a server"
  sleep 1
  stop_listening
  # A message box stays until it is answered.
  xdotool search --onlyvisible --name '^MIDAS Sound System Error$' > /dev/null 2>&1 &&
    fail "a message box was shown for the lost server"
  "$LISTEN" "$WORK/back-$1.raw" > "$WORK/back-$1.txt"
  if ! grep -q '^gaps 0 ' "$WORK/back-$1.txt"; then
    RETURN="a gap: $(grep -E '^(sound|gap)' "$WORK/back-$1.txt" | tr '\n' ';')"
    return 1
  fi
  # A click is where the sound returns: its first 100 ms are looked at, from
  # just before, so that the step out of silence counts. Further on, the
  # capture reaches parts of the song that the first capture did not, whose
  # own steps may be larger.
  local onset from to step
  onset=$(awk '/^sound/ {print $2}' "$WORK/back-$1.txt")
  from=$(awk -v s="$onset" 'BEGIN { print (s > 0.002 ? s - 0.002 : 0) }')
  to=$(awk -v s="$onset" 'BEGIN { print s + 0.1 }')
  step=$("$LISTEN" --from "$from" --to "$to" "$WORK/back-$1.raw" | awk '/^largest step/ {print $3}')
  if ! awk -v step="$step" -v own="$own_step" 'BEGIN { exit !(step <= own * 1.1) }'; then
    RETURN="a click: a step of $step against the song's own $own_step"
    return 1
  fi
  RETURN="heard in $HEARD_AFTER s, largest step of its first 100 ms $step (the song's own $own_step)"
}

# The disc's stream lives in the server's PulseAudio service. When that
# service misses the graph's cycle itself, as a server just started on a
# busy machine may, the cycle is silence that the disc did not make, and
# PipeWire says so; only such a return is listened to again.
back_after() { # seconds without a server
  local try
  for try in 1 2 3; do
    if return_heard "$1"; then
      echo "back after $1 s without a server: $RETURN"
      return 0
    fi
    tail -n +"$LATE_FROM" "$WORK/pipewire.log" | grep -q 'client too slow' ||
      fail "the song came back with $RETURN after $1 s"
    echo "back after $1 s without a server, try $try: $RETURN, while the sound server missed cycles of its own"
  done
  fail "the sound server missed cycles of its own in each of three returns after $1 s"
}
back_after 0
back_after 4

# A new default sink takes the stream along.
add_null_sink velmora_other
listen_to velmora_other "$WORK/other.raw"
pactl set-default-sink velmora_other
wait_capture_heard "$WORK/other.raw" 3 || fail "the song does not follow the new default sink"
stop_listening

listen_to velmora_other "$WORK/stopped.raw"
xdotool key s
sleep 1.5
level=$(capture_rms "$WORK/stopped.raw" 1000)
above "$level" 0 && fail "stopped, the sink still hears RMS $level"
stop_listening

rm -f "$WORK/disc/Sound.opt"
close_disc
grep -q '^Mixrate=22050$' "$WORK/disc/Sound.opt" || fail "Sound.opt was not written"
grep -q 'the sound output was lost' "$WORK/disc.log" || fail "the lost output went unmentioned"
echo "sound server: heard, back after a restart and after 4 s without a server, followed the new default sink, silent when stopped, closed with 0"
