#!/usr/bin/env bash
# deb_test.sh <cpack> <cmake> <build dir> <version> <scratch dir>
# `cpack -G DEB` makes orvela_<version>_<arch>.deb of exactly what `cmake --install` installs,
# under /usr, with Debian's names (man pages gzipped, the licence as copyright, a changelog)
# and Qt among the Depends that dpkg-shlibdeps works out; both programs run from the unpacked
# package; lintian, where installed, finds no error. Nothing is installed on the machine.
set -u
cpack=$1
cmake=$2
build=$3
version=$4
scratch=$5
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for tool in "$cpack" dpkg-deb dpkg-shlibdeps file gzip; do
  command -v "$tool" >/dev/null || {
    echo "SKIP: $tool is missing (the package needs dpkg-dev and file)"
    exit 77
  }
done

rm -rf "$scratch"
mkdir -p "$scratch"
trap 'rm -rf "$scratch"' EXIT
if ! "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" \
  >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  echo "FAIL: cpack -G DEB failed" >&2
  exit 1
fi
arch=$(dpkg --print-architecture)
deb=$scratch/out/orvela_${version}_${arch}.deb
[ -f "$deb" ] || { echo "FAIL: no $(basename "$deb"): $(ls "$scratch/out")" >&2; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = orvela ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = science ] || fail "Section: $(field Section)"
[[ "$(field Maintainer)" =~ ^Kestrin\ Software\ \<[^@\ ]+@[^@\ ]+\>$ ]] ||
  fail "Maintainer: $(field Maintainer)"
description=$(field Description)
[ "$(head -n 1 <<<"$description")" = "simulate orthodontic tooth movement in two dimensions" ] &&
  [ "$(wc -l <<<"$description")" -gt 3 ] || fail "Description: $description"
depends=$(field Depends)
for package in libqt6widgets6 libqt6svg6 libqt6printsupport6 libc6 libstdc++6 qt6-qpa-plugins; do
  grep -qE "(^|, )${package//+/\\+}( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

# The listing's sixth column on is the path, which may hold spaces.
listing=$(dpkg-deb -c "$deb")
owners=$(awk '{print $2}' <<<"$listing" | sort -u)
[ "$owners" = root/root ] || fail "owners other than root: $owners"
packaged=$(grep -v '^d' <<<"$listing" | sed -E 's/^([^ ]+ +){5}//' | sort)

"$cmake" --install "$build" --prefix "$scratch/install" >/dev/null || fail "cmake --install failed"
expected=$({
  (cd "$scratch/install" && find . -type f) |
    sed -E 's|^\./|./usr/|; s|(/share/man/man[1-9]/[^/]+\.[1-9])$|\1.gz|' |
    sed 's|/doc/orvela/LICENSE$|/doc/orvela/copyright|'
  echo ./usr/share/doc/orvela/changelog.gz
} | sort)
[ "$packaged" = "$expected" ] ||
  fail "the package differs from cmake --install (< package, > install):
$(diff <(echo "$packaged") <(echo "$expected") | grep '^[<>]')"

id=com.kestrinsoftware.orvela
for f in bin/orvela bin/orvela-run share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
  share/mime/packages/$id.xml share/icons/hicolor/scalable/apps/orvela.svg \
  share/icons/hicolor/48x48/apps/orvela.png share/man/man1/orvela.1.gz \
  share/man/man1/orvela-run.1.gz share/doc/orvela/copyright share/doc/orvela/changelog.gz \
  "share/orvela/Kestrin Software/Orvela/Settings/Orvela.ini" share/orvela/examples/class-1.orvela \
  share/orvela/orvela-setup.schema.json; do
  grep -qxF "./usr/$f" <<<"$packaged" || fail "the package lacks /usr/$f"
done

root=$scratch/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x failed"
for f in man/man1/orvela.1.gz man/man1/orvela-run.1.gz doc/orvela/changelog.gz; do
  gzip -t "$root/usr/share/$f" 2>/dev/null || fail "/usr/share/$f is not gzipped"
done
grep -qF /usr/share/common-licenses/GPL-3 "$root/usr/share/doc/orvela/copyright" ||
  fail "copyright does not name the GPL-3"
zcat "$root/usr/share/doc/orvela/changelog.gz" | head -n 1 | grep -qF "orvela ($version)" ||
  fail "the changelog's entry is not $version"
if command -v readelf >/dev/null &&
  readelf -S --wide "$root/usr/bin/orvela" | grep -qE '\.(symtab|debug_info)'; then
  fail "usr/bin/orvela is not stripped"
fi

out=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/orvela" --version 2>&1); rc=$?
[ $rc -eq 0 ] && [ "$out" = "Orvela $version" ] || fail "orvela --version: $rc '$out'"
out=$("$root/usr/bin/orvela-run" --help 2>&1); rc=$?
[ $rc -eq 0 ] && grep -qF "Usage: orvela-run" <<<"$out" || fail "orvela-run --help: $rc '$out'"
out=$("$root/usr/bin/orvela-run" "$root/usr/share/orvela/examples/canine-premolar.orvela" \
  --max-steps 1 2>&1); rc=$?
[ $rc -eq 3 ] || [ $rc -eq 0 ] || fail "orvela-run on a packaged example: $rc '$out'"

# lintian's warnings and notes are reported; only an error fails.
if command -v lintian >/dev/null; then
  findings=$(lintian --allow-root --fail-on error --display-info "$deb" 2>&1); rc=$?
  echo "lintian findings:"
  echo "${findings:-(none)}"
  [ $rc -eq 0 ] || fail "lintian: exit $rc"
else
  echo "lintian is not installed: the package is not checked by it"
fi

[ $failures -eq 0 ] || exit 1
echo "deb: all checks passed ($(basename "$deb"))"
