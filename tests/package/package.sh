#!/usr/bin/env bash
# The Debian package from build to removal, as a user of Debian or Ubuntu
# meets it: cpack makes it; its fields and contents are as they should be;
# lintian finds no error and only the warnings kept below; the AppStream
# file, the desktop entry and the manual page pass their checkers. Installed
# with dpkg, the disc runs from PATH as an unprivileged user with a module
# on its command line, which is heard, and keeps its settings in that
# user's ~/.config/velmora/ since /usr is not theirs. Removed, nothing of it
# is left. Needs root, and no velmora installed otherwise (exit 77: skip).
source "$(dirname "$0")/../e2e/lib.sh"
BUILD_DIR=${BUILD_DIR:?the build folder}

[ "$(id -u)" = 0 ] || { echo "SKIP: installing a package needs root"; exit 77; }
if dpkg-query -W -f='${Status}' velmora 2>/dev/null | grep -q installed || [ -e /usr/bin/velmora ]; then
  echo "SKIP: a velmora is installed already; this test would replace it"
  exit 77
fi

HOME_DIR=""
INSTALLED=""
package_cleanup() {
  [ -n "$INSTALLED" ] && dpkg --purge velmora > /dev/null 2>&1 || true
  [ -n "$HOME_DIR" ] && rm -rf "$HOME_DIR"
  cleanup
}
trap package_cleanup EXIT

# --- Building and looking at the package
cpack --config "$BUILD_DIR/CPackConfig.cmake" -G DEB -B "$WORK/package" > "$WORK/cpack.log" 2>&1 ||
  { cat "$WORK/cpack.log" >&2; fail "cpack failed"; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$BUILD_DIR/CPackConfig.cmake")
deb="$WORK/package/velmora_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$WORK/package")"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = velmora ] || fail "Package: $(field Package)"
[ "$(field Section)" = sound ] || fail "Section: $(field Section)"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer: $(field Maintainer)"
[ -z "$(field Homepage)" ] || fail "a Homepage field, and there is no home page: $(field Homepage)"
description=$(field Description)
[ "$(wc -l <<< "$description")" -gt 3 ] || fail "no long description: $description"
depends=$(field Depends)
for library in libsdl2-2.0-0 libopenmpt0 libfreetype6 libfontconfig1 libx11-6 libc6; do
  [[ ", $depends," == *", $library"[\ ,]* ]] || fail "Depends lacks $library: $depends"
done
dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -Eq 'postinst|postrm|preinst|prerm' &&
  fail "maintainer scripts in the package: $(dpkg-deb --ctrl-tarfile "$deb" | tar -t | tr '\n' ' ')"

dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./|/|' > "$WORK/contents"
for file in /usr/bin/velmora /usr/lib/velmora/velmora /usr/lib/velmora/libvelmora.so \
            /usr/lib/velmora/song1.xm /usr/lib/velmora/song5.xm /usr/share/applications/velmora.desktop \
            /usr/share/icons/hicolor/48x48/apps/velmora.png /usr/share/icons/hicolor/256x256/apps/velmora.png \
            /usr/share/metainfo/example.velmora.Velmora.metainfo.xml /usr/share/man/man1/velmora.1.gz \
            /usr/share/doc/velmora/copyright /usr/share/doc/velmora/changelog.gz; do
  grep -qx "$file" "$WORK/contents" || fail "the package lacks $file"
done
grep -v '^/usr/' "$WORK/contents" | grep -vx '/' && fail "the package puts files outside /usr"

# lintian: no error, and no warning but those kept here with their reason
# (none at present).
kept_warnings=()
lintian "$deb" > "$WORK/lintian.log" 2>&1 || true
grep -q '^E: ' "$WORK/lintian.log" && { cat "$WORK/lintian.log" >&2; fail "lintian found errors"; }
while read -r tag; do
  printf '%s\n' "${kept_warnings[@]}" | grep -qx "$tag" || { cat "$WORK/lintian.log" >&2; fail "lintian warns: $tag"; }
done < <(sed -n 's/^W: velmora[^:]*: \([^ ]*\).*/\1/p' "$WORK/lintian.log")

dpkg-deb --extract "$deb" "$WORK/tree"
appstreamcli validate --no-net "$WORK/tree/usr/share/metainfo/example.velmora.Velmora.metainfo.xml" > "$WORK/appstream.log" 2>&1 ||
  { cat "$WORK/appstream.log" >&2; fail "the AppStream file is not valid"; }
desktop-file-validate "$WORK/tree/usr/share/applications/velmora.desktop" || fail "the desktop entry is not valid"
# As lintian renders manual pages: any word from man or groff is a warning.
LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
  "$WORK/tree/usr/share/man/man1/velmora.1.gz" 2> "$WORK/man.log" > /dev/null || fail "man could not render the manual page"
[ ! -s "$WORK/man.log" ] || fail "the manual page renders with warnings: $(cat "$WORK/man.log")"

# --- Installed, and run by someone else than root
dpkg --install "$deb" > "$WORK/dpkg.log" 2>&1 || { cat "$WORK/dpkg.log" >&2; fail "dpkg could not install the package"; }
INSTALLED=yes
man -w velmora > /dev/null 2>&1 || fail "man doesn't find the installed page"

# nobody's own home doesn't exist: a scratch one stands in, theirs alone.
HOME_DIR=$(mktemp -d /tmp/velmora-home.XXXXXX)
cp /usr/lib/velmora/song4.xm "$HOME_DIR/opened.xm"
chown -R nobody: "$HOME_DIR"
start_x
(cd "$HOME_DIR" && exec runuser -u nobody -- env -i PATH=/usr/bin:/bin HOME="$HOME_DIR" DISPLAY="$DISPLAY" \
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$HOME_DIR/audio.raw" velmora opened.xm > "$WORK/disc.log" 2>&1) &
DISC_PID=$!
wait_main_window
sleep 2
expect_heard "$HOME_DIR/audio.raw" "the module named on the command line"
close_disc
settings="$HOME_DIR/.config/velmora/Sound.opt"
[ -f "$settings" ] || fail "Sound.opt is not in the user's ~/.config/velmora/"
grep -q '^Mixrate=' "$settings" || fail "Sound.opt holds no settings: $(cat "$settings")"
[ "$(stat -c %U "$settings")" = nobody ] || fail "Sound.opt belongs to $(stat -c %U "$settings")"
[ ! -e /usr/lib/velmora/Sound.opt ] || fail "Sound.opt was written into /usr"

# --- Removed: nothing of it stays
dpkg --remove velmora > "$WORK/dpkg.log" 2>&1 || { cat "$WORK/dpkg.log" >&2; fail "dpkg could not remove the package"; }
INSTALLED=""
[ -z "$(dpkg-query -W -f='${Status}' velmora 2>/dev/null)" ] ||
  fail "dpkg still knows the package: $(dpkg-query -W -f='${Status}' velmora)"
while read -r path; do
  [ "$path" = / ] && continue
  if [ -d "$path" ] && [ ! -L "$path" ]; then
    # Only folders that other packages share stay (/usr/share/man/man1).
    [[ "$path" != *velmora* ]] && dpkg -S "$path" > /dev/null 2>&1 || fail "$path is left"
  elif [ -e "$path" ] || [ -L "$path" ]; then
    fail "$path is left"
  fi
done < <(sed 's|/$||' "$WORK/contents")
echo "package: $(basename "$deb") built, checked, installed, played as nobody with its settings in ~/.config, removed without a trace"
echo "Depends: $depends"
