#!/usr/bin/env bash
# orvela_run_test.sh <orvela-run executable> <examples folder>
# Exit codes 0 (Auto Stop), 3 (step limit), 1 (bad file or output), 2 (bad usage), without a
# display; the history CSV;
# every example runs and its --json report parses.
set -u
program=$1
examples=$2
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
run() { env -u DISPLAY -u WAYLAND_DISPLAY "$program" "$@"; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

example=$examples/canine-premolar.orvela
run "$example" --threshold-force 1e9 --threshold-moment 1e9 >"$tmp/out" 2>&1; rc=$?
[ $rc -eq 0 ] && grep -qF "steps: 1 (Auto Stop)" "$tmp/out" || fail "Auto Stop: $rc $(cat "$tmp/out")"
run "$example" --max-steps 5 --save "$tmp/after.orvela" >"$tmp/out" 2>&1; rc=$?
[ $rc -eq 3 ] && grep -qF "steps: 5 (step limit)" "$tmp/out" || fail "step limit: $rc $(cat "$tmp/out")"
# The saved setup reads back; nothing is left to run on it at zero steps.
run "$tmp/after.orvela" --max-steps 0 >/dev/null 2>&1; rc=$?
[ $rc -eq 3 ] || fail "--save wrote no setup file: $rc"

printf '{"format": "orvela-setup", "version": 1, "teeth": [' >"$tmp/broken.orvela"
err=$(run "$tmp/broken.orvela" 2>&1 >/dev/null); rc=$?
[ $rc -eq 1 ] && grep -qF "broken.orvela" <<<"$err" || fail "bad file: $rc '$err'"
err=$(run "$tmp/missing.orvela" 2>&1 >/dev/null); rc=$?
[ $rc -eq 1 ] && grep -qF "missing.orvela" <<<"$err" || fail "missing file: $rc '$err'"

for bad in "" "--bogus $example" "$example $example" "$example --max-steps" \
  "$example --max-steps -1" "$example --threshold-force 1,5"; do
  # shellcheck disable=SC2086
  err=$(run $bad 2>&1 >/dev/null); rc=$?
  [ $rc -eq 2 ] && grep -qF "Usage: orvela-run" <<<"$err" || fail "'$bad': $rc '$err'"
done

# The history: one row per tooth and step, after a header; a folder that cannot be written is a
# bad output, and nothing is reported as done.
run "$example" --history "$tmp/h.csv" >"$tmp/out" 2>&1; rc=$?
steps=$(sed -n 's/^steps: \([0-9]*\).*/\1/p' "$tmp/out")
[ $rc -eq 0 ] || fail "--history: $rc $(cat "$tmp/out")"
if command -v python3 >/dev/null; then
  python3 -c '
import csv, sys
rows = list(csv.reader(open(sys.argv[1], newline="")))
header, body = rows[0], rows[1:]
assert header[:2] == ["step", "tooth"] and len(header) == 16, header
assert len(body) == 2 * int(sys.argv[2]), len(body)
assert all(len(r) == 16 for r in body)
assert int(body[-1][0]) == int(sys.argv[2])
float(body[-1][7])
' "$tmp/h.csv" "$steps" || fail "--history wrote a wrong CSV"
fi
err=$(run "$example" --history "$tmp/no/such/folder/h.csv" 2>&1 >/dev/null); rc=$?
[ $rc -eq 1 ] && grep -qF "no/such/folder/h.csv" <<<"$err" || fail "unwritable history: $rc '$err'"

for file in "$examples"/*.orvela; do
  run "$file" --json --max-steps 20000 >"$tmp/report.json" 2>"$tmp/err"; rc=$?
  [ $rc -eq 0 ] || [ $rc -eq 3 ] || fail "$file: exit $rc $(cat "$tmp/err")"
  if command -v python3 >/dev/null; then
    python3 -c '
import json, sys
r = json.load(open(sys.argv[1]))
assert isinstance(r["steps"], int) and isinstance(r["autoStop"], bool)
for part in ("start", "end"):
    for t in r[part]["teeth"]:
        assert set(t) == {"name", "cRes", "angulation", "force", "moment"}, t
    for w in r[part]["wires"]:
        keys = {"material", "size", "force", "momentA", "momentB", "angleRatio", "class"}
        assert set(w) in (keys, keys | {"bends"}), w
        for b in w.get("bends", []):
            assert set(b) in ({"kind", "position", "angle"}, {"kind", "position", "height"}), b
' "$tmp/report.json" || fail "$file: the JSON report does not parse"
  fi
done

[ $failures -eq 0 ] || exit 1
echo "orvela-run: all checks passed"
