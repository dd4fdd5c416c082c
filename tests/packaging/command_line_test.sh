#!/usr/bin/env bash
# command_line_test.sh <orvela executable> <version>
# --help and --version answer without a window (and without a display); an unknown option
# or a second argument is an error with exit code 2; a start without a display says so, exit 1.
set -u
program=$1
version=$2
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

out=$("$program" --version 2>&1); rc=$?
[ $rc -eq 0 ] || fail "--version exits with $rc"
[ "$out" = "Orvela $version" ] || fail "--version prints '$out'"

# No display at all: a window would fail to open.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" --version 2>&1); rc=$?
[ $rc -eq 0 ] && [ "$out" = "Orvela $version" ] || fail "--version needs a display: $rc '$out'"

out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" --help 2>&1); rc=$?
[ $rc -eq 0 ] || fail "--help exits with $rc"
for want in "Usage: orvela [options]" "--help" "--version" "orthodontic tooth movement"; do
  grep -qF -- "$want" <<<"$out" || fail "--help lacks '$want': $out"
done

for bad in --bogus -x; do
  err=$("$program" "$bad" 2>&1 >/dev/null); rc=$?
  [ $rc -eq 2 ] || fail "$bad exits with $rc"
  name=$(sed 's/^-*//' <<<"$bad")
  grep -qF -- "'$name'" <<<"$err" || fail "$bad: the error does not name it: $err"
done
# One setup file is opened; a second is an error.
err=$("$program" first.orvela second.orvela 2>&1 >/dev/null); rc=$?
[ $rc -eq 2 ] && grep -qF -- "'second.orvela'" <<<"$err" || fail "two files: $rc '$err'"

# No display and no platform asked for: one line naming the problem, exit 1 (not Qt's abort);
# the command line is still checked first, as with a display.
nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$@"; }
err=$(nodisplay 2>&1 >/dev/null); rc=$?
[ $rc -eq 1 ] || fail "no display: exits with $rc"
[ "$err" = "orvela: cannot open the window: no display (neither DISPLAY nor WAYLAND_DISPLAY is set)." ] ||
  fail "no display: '$err'"
err=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" 2>&1 >/dev/null); rc=$?
[ $rc -eq 1 ] && [ "$err" = "orvela: cannot open the window: no display for the platform 'xcb'." ] ||
  fail "xcb without a display: $rc '$err'"
err=$(nodisplay --bogus 2>&1 >/dev/null); rc=$?
[ $rc -eq 2 ] && grep -qF -- "'bogus'" <<<"$err" || fail "--bogus without a display: $rc '$err'"
err=$(nodisplay setup.orvela 2>&1 >/dev/null); rc=$?
[ $rc -eq 1 ] || fail "a file without a display: exits with $rc"
# Qt's own options are no error; -platform offscreen needs no display.
err=$(nodisplay -style fusion -reverse 2>&1 >/dev/null); rc=$?
[ $rc -eq 1 ] || fail "-style fusion -reverse without a display: $rc '$err'"
# The window opens (the program runs until the timeout ends it), with its files in a
# temporary home.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
HOME=$home XDG_CONFIG_HOME=$home/config ORVELA_COMMON_APPDATA=$home/common \
  timeout 3 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" -platform offscreen \
  >/dev/null 2>&1
rc=$?
[ $rc -eq 124 ] || fail "no display, -platform offscreen: exits with $rc before the timeout"

out=$("$program" --help-all 2>&1); rc=$?
[ $rc -eq 0 ] && grep -qF -- "-platform" <<<"$out" || fail "--help-all: $rc '$out'"

# Qt's own options pass, and are not read as ours ("-reverse" holds a v).
out=$("$program" -platform offscreen --version 2>&1); rc=$?
[ $rc -eq 0 ] && [ "$out" = "Orvela $version" ] || fail "-platform offscreen --version: $rc '$out'"

exit $((failures > 0))
