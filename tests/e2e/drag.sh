#!/usr/bin/env bash
# At every scale the dragged window ends exactly where the pointer says: it
# moves by the pointer's way to the screen pixel, also where that way is no
# whole number of the scale's blocks, and four drags whose ways add up to
# nothing bring it back to where it started.
source "$(dirname "$0")/lib.sh"
# Large enough for the disc at scale 3.
start_x 2560x1600x24

# Pointer ways in screen pixels, each as five equal moves: no scale above 1
# divides the whole way.
ways=("17 7" "-23 5" "11 -13" "-5 1")

errors=()
for scale in 1 2 3; do
  VELMORA_SCALE=$scale start_disc
  window_geometry
  [ "$WW" = $(( 370 * scale )) ] || fail "width $WW at scale $scale"
  startX=$WX startY=$WY
  wantX=$WX wantY=$WY
  for way in "${ways[@]}"; do
    read -r dx dy <<< "$way"
    # Pressed on the panel above the first song, one screen pixel into the
    # block of its logical pixel so that the block's edge is crossed early.
    burst_drag "$WINDOW" $(( 200 * scale + 1 )) $(( 4 * scale + 1 )) 5 "$dx" "$dy" 0.05
    wantX=$(( wantX + 5 * dx )) wantY=$(( wantY + 5 * dy ))
    window_geometry
    [ "$WX,$WY" = "$wantX,$wantY" ] || errors+=("scale $scale: a drag of $(( 5 * dx )),$(( 5 * dy )) left the window at $WX,$WY, not at $wantX,$wantY")
  done
  echo "scale $scale: after four drags the window is $(( WX - startX )),$(( WY - startY )) px from its start"
  kill "$DISC_PID"; wait "$DISC_PID" 2>/dev/null || true; DISC_PID=""
  rm -rf "$WORK/disc"
done
if ((${#errors[@]})); then
  printf '%s\n' "${errors[@]}" >&2
  fail "the window did not follow the pointer exactly"
fi
echo "scales 1 to 3: every drag ended where the pointer said"
