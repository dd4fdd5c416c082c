#!/usr/bin/env bash
# command_line_test.sh <orvela executable> <version>
# --help and --version answer without a window (and without a display); an unknown option
# or an argument is an error with exit code 2.
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

for bad in --bogus -x stray-file; do
  err=$("$program" "$bad" 2>&1 >/dev/null); rc=$?
  [ $rc -eq 2 ] || fail "$bad exits with $rc"
  name=$(sed 's/^-*//' <<<"$bad")
  grep -qF -- "'$name'" <<<"$err" || fail "$bad: the error does not name it: $err"
done

out=$("$program" --help-all 2>&1); rc=$?
[ $rc -eq 0 ] && grep -qF -- "-platform" <<<"$out" || fail "--help-all: $rc '$out'"

# Qt's own options pass.
out=$("$program" -platform offscreen --version 2>&1); rc=$?
[ $rc -eq 0 ] && [ "$out" = "Orvela $version" ] || fail "-platform offscreen --version: $rc '$out'"

exit $((failures > 0))
