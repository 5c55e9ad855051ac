#!/usr/bin/env bash
# The whole program's cost as a user meets it: the real disc under its own
# Xvfb, its sound going to SDL's disk driver (which sleeps one device buffer
# between writes, so it keeps to real time like a sound card), beside the
# minimal player (bench/minimal_player.cpp: a bare SDL window of the disc's
# size with libopenmpt decoding song 1 straight from SDL's audio callback, on
# the same device), Debian's openmpt123 decoding the same music, and a bare
# SDL window.
#
# Measures CPU per minute while song 1 plays at the default 22050 Hz and
# while nothing plays, the time from launch to the window mapped, the peak
# resident memory, and the CPU per minute of generated 4-, 8- and 32-channel
# modules; then, where PipeWire is installed, a minute of song 1 through it on
# a busy machine (bench/busy_sound_server.sh). Prints a markdown report
# (docs/performance.md keeps the last).
#
#   cmake --build build --target bench-whole
#
# CPU is the process's own scheduler time, summed over its threads from
# /proc/PID/task/*/schedstat (nanoseconds), scaled to a minute: playing,
# from the click on the song for PLAY_S seconds (default 60: the minute
# openmpt123 decodes, loading included on both sides); idle, over IDLE_S
# seconds (default 30). Run on demand only: the machine's other load shows
# in the figures, so the load average is printed with them.
set -euo pipefail

DISC_DIR=${DISC_DIR:?the program folder, e.g. build/disc}
PROBE=${PROBE:?bench/probe}
BARE_WINDOW=${BARE_WINDOW:?bench/bare_window}
MINIMAL_PLAYER=${MINIMAL_PLAYER:?bench/minimal_player}
WRITE_BENCH_SONGS=${WRITE_BENCH_SONGS:?bench/write_bench_songs}
PLAY_S=${PLAY_S:-60}
IDLE_S=${IDLE_S:-30}
LAUNCHES=${LAUNCHES:-5}
RATE=22050

# The end-to-end tests' private X server, scratch folder and clean-up; the
# program measured at any moment is APP_PID, ended with them.
source "$(dirname "$0")/../tests/e2e/lib.sh"
APP_PID=""
trap '[ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null; cleanup' EXIT

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Nanoseconds of CPU the process's threads have had so far.
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ s += $1 } END { printf "%d\n", s }'; }

peak_rss_kb() { awk '/^VmHWM:/ { print $2 }' /proc/"$1"/status; }

# Starts a program through the probe; sets APP_PID, APP_WINDOW, MAPPED_MS
# and MAPPED_CPU_MS, the CPU it took until then.
launch() {
  local line
  line=$("$PROBE" map -- "$@" 2>> "$WORK/app.log") || fail "$1 did not map a window"
  read -r _ APP_PID _ APP_WINDOW _ MAPPED_MS _ MAPPED_CPU_MS <<< "$line"
}

# Whether a process still runs: the probe's children are orphans, and an
# orphan that ended may stay a zombie until someone reaps it.
running() {
  local state
  state=$(awk '{ print $3 }' /proc/"$1"/stat 2>/dev/null) || return 1
  [ -n "$state" ] && [ "$state" != Z ]
}

close_app() {
  kill "$APP_PID" 2>/dev/null || true
  for _ in $(seq 100); do
    running "$APP_PID" || break
    sleep 0.05
  done
  kill -9 "$APP_PID" 2>/dev/null || true
  APP_PID=""
}

# A copy of the program folder whose song 1 is the given module, at the
# default settings; the disc's sound goes to $WORK/audio.raw.
disc_with_song1() { # module folder
  rm -rf "$2"
  cp -r "$DISC_DIR" "$2"
  rm -f "$2/Sound.opt"
  [ "$1" = "$2/song1.xm" ] || cp "$1" "$2/song1.xm"
}

launch_disc() { # folder
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw" launch "$1/velmora"
}

click_song1() {
  eval "$(xdotool getwindowgeometry --shell "$APP_WINDOW")"
  xdotool mousemove $(( X + 230 )) $(( Y + 28 )) click 1 mousemove 0 0
}

# CPU seconds per minute over the given seconds, from the start of the given
# command on; sets CPU_MIN and, from the growth of the disk output,
# AUDIO_RATE (seconds of sound received per second).
measure_cpu() { # seconds [command...]
  local seconds=$1 before after bytes_before bytes_after t0 t1
  shift
  bytes_before=$(stat -c %s "$WORK/audio.raw" 2>/dev/null || echo 0)
  t0=$(date +%s%N)
  before=$(cpu_ns "$APP_PID")
  "$@"
  sleep "$seconds"
  after=$(cpu_ns "$APP_PID")
  t1=$(date +%s%N)
  bytes_after=$(stat -c %s "$WORK/audio.raw" 2>/dev/null || echo 0)
  CPU_MIN=$(awk -v c=$(( after - before )) -v t=$(( t1 - t0 )) 'BEGIN { printf "%.3f", c / t * 60 }')
  AUDIO_RATE=$(awk -v b=$(( bytes_after - bytes_before )) -v t=$(( t1 - t0 )) -v r=$RATE 'BEGIN { printf "%.3f", b / 4 / r / (t / 1e9) }')
}

# openmpt123 decoding the first minute of a module as the disc plays it:
# 22050 Hz, 16-bit stereo, the same 8-tap interpolation. Median of three;
# sets REF_CPU and REF_RSS_KB.
openmpt123_minute() {
  local runs=()
  for _ in 1 2 3; do
    runs+=("$("$PROBE" run -- openmpt123 --batch --quiet --stdout --no-float --samplerate $RATE --end-time 60 "$1")")
  done
  REF_CPU=$(printf '%s\n' "${runs[@]}" | awk '{ print $2 }' | median)
  REF_RSS_KB=$(printf '%s\n' "${runs[@]}" | awk '{ print $4 }' | median)
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
seconds() { awk -v m="$1" 'BEGIN { printf "%.3f", m / 1000 }'; }
verdict() { awk -v v="$1" -v g="$2" 'BEGIN { print (v <= g) ? "met" : "**not met**" }'; }

command -v openmpt123 > /dev/null || fail "openmpt123 is missing (scripts/setup installs it)"
command -v xdotool > /dev/null || fail "xdotool is missing (scripts/setup installs it)"
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
start_x
disc_with_song1 "$DISC_DIR/song1.xm" "$WORK/disc"
"$WRITE_BENCH_SONGS" "$WORK"

# Launch times: the disc and a bare SDL window of its size, a few times each.
# The bare window's peak memory is the floor any SDL window of this size
# starts from, before fonts, pictures or music.
bare=() disc=() bare_cpu=() bare_rss=() disc_cpu=()
for _ in $(seq "$LAUNCHES"); do
  launch "$BARE_WINDOW"; bare+=("$MAPPED_MS"); bare_cpu+=("$MAPPED_CPU_MS"); sleep 0.3
  bare_rss+=("$(peak_rss_kb "$APP_PID")"); close_app
  launch_disc "$WORK/disc"; disc+=("$MAPPED_MS"); disc_cpu+=("$MAPPED_CPU_MS"); sleep 0.3; close_app
done
BARE_MS=$(printf '%s\n' "${bare[@]}" | median)
DISC_MS=$(printf '%s\n' "${disc[@]}" | median)
BARE_FASTEST_MS=$(printf '%s\n' "${bare[@]}" | sort -g | head -n1)
DISC_FASTEST_MS=$(printf '%s\n' "${disc[@]}" | sort -g | head -n1)
BARE_CPU_MS=$(printf '%s\n' "${bare_cpu[@]}" | median)
BARE_RSS_KB=$(printf '%s\n' "${bare_rss[@]}" | median)
DISC_CPU_MS=$(printf '%s\n' "${disc_cpu[@]}" | median)

# Song 1: idle first (caption and star running), then playing, with the
# minimal player playing the same song beside it: both measured over the
# same seconds, from two seconds after their songs started, so that the
# shared machine's changing speed falls on both alike.
launch_disc "$WORK/disc"
sleep 2
measure_cpu "$IDLE_S"
IDLE_MIN=$CPU_MIN
DISC_PID_PLAYING=$APP_PID
click_song1
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/minimal.raw" launch "$MINIMAL_PLAYER" "$WORK/disc/song1.xm"
MINIMAL_PID=$APP_PID
sleep 2
minimal_before=$(cpu_ns "$MINIMAL_PID")
minimal_bytes=$(stat -c %s "$WORK/minimal.raw")
APP_PID=$DISC_PID_PLAYING
measure_cpu "$PLAY_S"
minimal_after=$(cpu_ns "$MINIMAL_PID")
SONG_MIN=$CPU_MIN SONG_RATE=$AUDIO_RATE
MINIMAL_MIN=$(awk -v c=$(( minimal_after - minimal_before )) -v s="$PLAY_S" 'BEGIN { printf "%.3f", c / 1e9 / s * 60 }')
MINIMAL_RATE=$(awk -v b=$(( $(stat -c %s "$WORK/minimal.raw") - minimal_bytes )) -v s="$PLAY_S" -v r=$RATE 'BEGIN { printf "%.3f", b / 4 / r / s }')
DISC_RSS_KB=$(peak_rss_kb "$APP_PID")
MINIMAL_RSS_KB=$(peak_rss_kb "$MINIMAL_PID")
close_app
APP_PID=$MINIMAL_PID
close_app
openmpt123_minute "$WORK/disc/song1.xm"
SONG_REF=$REF_CPU SONG_REF_RSS_KB=$REF_RSS_KB

# The same music on more channels.
rows=()
for module in busy.4ch.mod busy.8ch.xm busy.32ch.xm; do
  disc_with_song1 "$WORK/$module" "$WORK/disc-$module"
  launch_disc "$WORK/disc-$module"
  sleep 2
  measure_cpu "$PLAY_S" click_song1
  rss=$(peak_rss_kb "$APP_PID")
  close_app
  openmpt123_minute "$WORK/$module"
  rows+=("| $module | $CPU_MIN s | $REF_CPU s | $(ratio "$CPU_MIN" "$REF_CPU") | $(mb "$rss") MB | $(mb "$REF_RSS_KB") MB |")
done

cat <<EOF
## Whole program, $(date -u +%Y-%m-%d)

Machine: $(lscpu | awk -F: '/Model name/ { gsub(/^ +/, "", $2); print $2; exit }'), $(nproc) cores,
Linux $(uname -r), SDL $(dpkg-query -W -f='${Version}' libsdl2-2.0-0 2>/dev/null), libopenmpt $(dpkg-query -W -f='${Version}' libopenmpt0 2>/dev/null).
Load average before the run: $LOAD_BEFORE (the machine is shared). CPU while playing over
the first $PLAY_S s from the click on the song, idle over $IDLE_S s; launch times the median of $LAUNCHES.

| what | Velmora | minimal player | ratio | goal | |
|---|---|---|---|---|---|
| CPU per minute, song 1 playing at $RATE Hz | $SONG_MIN s | $MINIMAL_MIN s | $(ratio "$SONG_MIN" "$MINIMAL_MIN") | at most 1.0 times | $(verdict "$(ratio "$SONG_MIN" "$MINIMAL_MIN")" 1.0) |
| peak resident memory | $(mb "$DISC_RSS_KB") MB | $(mb "$MINIMAL_RSS_KB") MB | $(ratio "$DISC_RSS_KB" "$MINIMAL_RSS_KB") | at most 1.2 times | $(verdict "$(ratio "$DISC_RSS_KB" "$MINIMAL_RSS_KB")" 1.2) |

| what | Velmora | reference | ratio | goal | |
|---|---|---|---|---|---|
| CPU per minute, song 1 playing at $RATE Hz | $SONG_MIN s | openmpt123: $SONG_REF s | $(ratio "$SONG_MIN" "$SONG_REF") | at most 2 times | $(verdict "$(ratio "$SONG_MIN" "$SONG_REF")" 2) |
| CPU per minute, nothing playing | $IDLE_MIN s | | | at most 0.1 s | $(verdict "$IDLE_MIN" 0.1) |
| launch to the window mapped | $(seconds "$DISC_MS") s | bare SDL window: $(seconds "$BARE_MS") s | $(ratio "$DISC_MS" "$BARE_MS") | at most 0.15 s | $(verdict "$DISC_MS" 150) |
| peak resident memory | $(mb "$DISC_RSS_KB") MB | openmpt123: $(mb "$SONG_REF_RSS_KB") MB | $(ratio "$DISC_RSS_KB" "$SONG_REF_RSS_KB") | | |

While song 1 played, the disk output received $SONG_RATE seconds of sound per second ($MINIMAL_RATE for the
minimal player). Launch: the fastest
of the $LAUNCHES launches mapped in $(seconds "$DISC_FASTEST_MS") s (bare SDL window $(seconds "$BARE_FASTEST_MS") s), after
$(seconds "$DISC_CPU_MS") s of CPU (bare SDL window $(seconds "$BARE_CPU_MS") s), medians of the process's own time to the mapping.
The bare SDL window alone peaks at $(mb "$BARE_RSS_KB") MB of resident memory.

CPU per minute of generated modules, the same music on more channels (openmpt123 decoding the first minute):

| module | Velmora | openmpt123 | ratio | Velmora peak memory | openmpt123 peak memory |
|---|---|---|---|---|---|
$(printf '%s\n' "${rows[@]}")
EOF

if command -v pipewire > /dev/null && [ -n "${LISTEN:-}" ]; then
  echo
  echo "Song 1 through PipeWire for $((${SECONDS_PLAYED:-60})) s while two CPU-bound processes run (bench/busy_sound_server.sh):"
  echo
  LISTEN=$LISTEN bash "$(dirname "$0")/busy_sound_server.sh" | sed 's/^/    /'
fi
