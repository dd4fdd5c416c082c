#!/usr/bin/env bash
# install_test.sh <build dir> <scratch prefix> <version>
# `cmake --install --strip` puts the program, its data, the desktop, AppStream and man files,
# the icons and the licence where a Linux desktop finds them, with a stripped binary.
set -u
build=$1
prefix=$2
version=$3
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" --strip >/dev/null || { echo "install failed" >&2; exit 1; }

id=com.kestrinsoftware.orvela
for f in bin/orvela bin/orvela-run share/man/man1/orvela-run.1 share/doc/orvela/orvela-run.md \
  "share/orvela/Kestrin Software/Orvela/Settings/Orvela.ini" \
  "share/orvela/Kestrin Software/Orvela/Responce/Orvela.INI" \
  share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/man/man1/orvela.1 \
  share/doc/orvela/LICENSE share/icons/hicolor/scalable/apps/orvela.svg \
  share/icons/hicolor/48x48/apps/orvela.png share/orvela/examples/canine-premolar.orvela \
  share/orvela/examples/class-1.orvela share/orvela/examples/lower-arch.orvela \
  share/orvela/orvela-setup.schema.json share/doc/orvela/setup-format.md \
  share/orvela/help/index.html share/orvela/help/images/step5-after-run.png; do
  [ -f "$prefix/$f" ] || fail "missing $f"
done

if command -v readelf >/dev/null; then
  if readelf -S --wide "$prefix/bin/orvela" | grep -qE '\.(symtab|debug_info)'; then
    fail "bin/orvela is not stripped"
  fi
  # The runner works on a machine without Qt.
  if readelf -d "$prefix/bin/orvela-run" | grep -q 'NEEDED.*libQt'; then
    fail "bin/orvela-run needs Qt"
  fi
fi

grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
  fail "the AppStream release is not $version"
grep -q "Orvela $version" "$prefix/share/man/man1/orvela.1" || fail "the man page is not of $version"
grep -q "^Exec=orvela %f$" "$prefix/share/applications/$id.desktop" || fail "Exec is not orvela %f"
grep -q '<glob pattern="\*.orvela"/>' "$prefix/share/mime/packages/$id.xml" || fail "no MIME type for *.orvela"
grep -q "GNU GENERAL PUBLIC LICENSE" "$prefix/share/doc/orvela/LICENSE" || fail "LICENSE is not the GPL"

if command -v man >/dev/null; then
  warnings=$(LC_ALL=C man -l --warnings=w "$prefix/share/man/man1/orvela.1" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man page warnings: $warnings"
  warnings=$(LC_ALL=C man -l --warnings=w "$prefix/share/man/man1/orvela-run.1" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "orvela-run man page warnings: $warnings"
fi

rm -rf "$prefix"
exit $((failures > 0))
