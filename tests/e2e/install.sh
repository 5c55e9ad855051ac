#!/usr/bin/env bash
# Installed into a fresh prefix, the disc runs from its launcher: a module
# named on the command line plays with no click, as if dropped; the desktop
# entry is valid and offers the program for modules; the icons are there.
source "$(dirname "$0")/lib.sh"
BUILD_DIR=${BUILD_DIR:?the build folder}
prefix="$WORK/prefix"
cmake --install "$BUILD_DIR" --prefix "$prefix" > "$WORK/install.log" || { cat "$WORK/install.log" >&2; fail "install failed"; }
for file in bin/velmora lib/velmora/velmora lib/velmora/libvelmora.so lib/velmora/song1.xm lib/velmora/song5.xm \
            share/icons/hicolor/48x48/apps/velmora.png share/icons/hicolor/256x256/apps/velmora.png; do
  [ -e "$prefix/$file" ] || fail "$file was not installed"
done
entry="$prefix/share/applications/velmora.desktop"
desktop-file-validate "$entry" || fail "the desktop entry is not valid"
grep -q '^MimeType=.*audio/x-xm' "$entry" || fail "the desktop entry doesn't offer the program for XM modules"

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw"
start_x
cp "$prefix/lib/velmora/song4.xm" "$WORK/opened.xm"
(cd "$WORK" && "$prefix/bin/velmora" opened.xm > "$WORK/disc.log" 2>&1) &
DISC_PID=$!
wait_main_window
sleep 2
expect_heard "$WORK/audio.raw" "the module named on the command line"
close_disc
[ -f "$prefix/lib/velmora/Sound.opt" ] || fail "Sound.opt was not stored beside the installed program it may write to"
echo "installed: launcher, desktop entry and icons in place; a module on the command line played"
