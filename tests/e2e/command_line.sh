#!/usr/bin/env bash
# The command line without a display: --help and -h print the same usage and
# end with 0, --version prints the version, an unknown option is refused with
# the usage on standard error and exit code 2.
source "$(dirname "$0")/lib.sh"
disc="$DISC_DIR/velmora"
unset DISPLAY

for option in --help -h; do
  set +e; "$disc" "$option" > "$WORK/$option.out" 2> "$WORK/$option.err"; code=$?; set -e
  [ "$code" = 0 ] || fail "$option ended with $code"
  grep -q '^Usage: velmora \[FILE\]' "$WORK/$option.out" || fail "$option printed no usage"
  [ ! -s "$WORK/$option.err" ] || fail "$option complained: $(cat "$WORK/$option.err")"
done
cmp -s "$WORK/--help.out" "$WORK/-h.out" || fail "-h and --help print different texts"
grep -q -- '-h, --help' "$WORK/--help.out" || fail "the usage doesn't name -h"

version=$("$disc" --version)
[[ "$version" =~ ^velmora\ [0-9]+\.[0-9]+ ]] || fail "--version printed '$version'"

set +e; "$disc" --bogus > "$WORK/bogus.out" 2> "$WORK/bogus.err"; code=$?; set -e
[ "$code" = 2 ] || fail "an unknown option ended with $code"
grep -q 'unknown option --bogus' "$WORK/bogus.err" || fail "an unknown option isn't named"
grep -q '^Usage:' "$WORK/bogus.err" || fail "an unknown option doesn't show the usage"
[ ! -s "$WORK/bogus.out" ] || fail "an unknown option printed to standard output"
echo "command line: --help and -h, --version, an unknown option refused with 2"
