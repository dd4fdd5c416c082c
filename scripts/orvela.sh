#!/usr/bin/env bash
# Set-up for a fresh Debian 12 / Ubuntu machine: installs the missing system packages,
# configures and builds, then starts Orvela, runs the whole test suite or builds the .deb.
#
#   scripts/orvela.sh run      build and start the program
#   scripts/orvela.sh package  build build-deb/orvela_<version>_<arch>.deb with Debian's
#                              hardening flags (then: apt install ./build-deb/orvela_*.deb)
#   scripts/orvela.sh test     build and run the tests, then again with ASan + UBSan, then
#                              run each fuzz target for 60 s when clang's libFuzzer works
set -euo pipefail

mode=${1:-run}
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

# What building and running needs; the tests add their tools and the validators of the
# desktop and AppStream files.
run_packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev libgl-dev nlohmann-json3-dev)
# The fuzz targets need clang (and its libFuzzer runtime, below); the settings file is tested
# under a decimal-comma locale, which `locales` generates; printed pages are read back with
# poppler's pdftoppm and pdftotext; setup files are checked against their schema with
# python3-jsonschema; the .deb is built and checked as `package` builds it, and by lintian.
# CPack's DEB generator finds the Depends with dpkg-shlibdeps (dpkg-dev) and `file`.
package_packages=(dpkg-dev file)
test_packages=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth appstream desktop-file-utils
  clang locales poppler-utils python3-jsonschema "${package_packages[@]}" lintian)
case "$mode" in
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  package) packages=("${run_packages[@]}" "${package_packages[@]}") ;;
  *) packages=("${run_packages[@]}") ;;
esac

# Sets `sudo` to the command prefix that gives root rights (empty for root, sudo where it
# works; it asks for a password only where someone can type it) and fails without one. Asked
# only when something needs root, so a set-up machine is never asked for a password.
sudo=()
root_checked=""
need_root() {
  if [ -z "$root_checked" ]; then
    root_checked=yes
    if [ "$(id -u)" -ne 0 ]; then
      local check=(sudo -n true)
      [ -t 0 ] && check=(sudo -v)
      if command -v sudo >/dev/null && "${check[@]}" 2>/dev/null; then sudo=(sudo); else sudo=(false); fi
    fi
  fi
  [ "${sudo[*]}" != false ]
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  install_line="apt-get install -y --no-install-recommends ${missing[*]}"
  if ! need_root; then
    echo "orvela.sh: these packages are missing: ${missing[*]}" >&2
    echo "Installing them needs root rights, and sudo is missing or refused. As root, run" >&2
    echo "" >&2
    echo "    apt-get update && $install_line" >&2
    echo "" >&2
    echo "then run this script again." >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The settings round trip is tested under a decimal-comma locale; without root rights the test
# says it skips.
if [ "$mode" = test ] && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  if ! need_root; then
    echo "orvela.sh: no root rights to generate the de_DE.UTF-8 locale; its test will skip" >&2
  else
    echo "Generating the de_DE.UTF-8 locale"
    "${sudo[@]}" sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen ||
      echo 'de_DE.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    "${sudo[@]}" locale-gen >/dev/null
  fi
fi

jobs=$(nproc)

# True when clang++ links a libFuzzer program; tries to install the runtime of the installed
# clang's version (libclang-rt-N-dev) once when it does not.
fuzzer_works() {
  command -v clang++ >/dev/null || return 1
  local probe
  probe=$(mktemp -d)
  printf '#include <cstddef>\n#include <cstdint>\nextern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n' >"$probe/probe.cpp"
  if ! clang++ -fsanitize=fuzzer "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
    local version
    version=$(clang++ -dumpversion | cut -d. -f1)
    need_root || return 1
    "${sudo[@]}" apt-get update -qq >/dev/null 2>&1 || true
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      "libclang-rt-$version-dev" >/dev/null 2>&1 || true
  fi
  clang++ -fsanitize=fuzzer "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null
  local ok=$?
  rm -rf "$probe"
  return $ok
}

run_fuzz_targets() {
  if ! fuzzer_works; then
    echo "clang's libFuzzer is not available: the fuzz targets are not run"
    return 0
  fi
  configure_and_build_targets build-fuzz \
    "orvela_fuzz_ini orvela_fuzz_settings orvela_fuzz_strings orvela_fuzz_setupfile" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DORVELA_FUZZ=ON \
    -DCMAKE_CXX_COMPILER=clang++
  local name work
  for name in ini settings strings setupfile; do
    work=$(mktemp -d)
    echo "Fuzzing $name for 60 s"
    build-fuzz/fuzz/orvela_fuzz_$name -max_total_time=60 -print_final_stats=1 \
      "$work" "fuzz/corpus/$name"
    rm -rf "$work"
  done
}

configure_and_build() { # <build dir> <extra cmake arguments...>
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@"
  cmake --build "$dir" --parallel "$jobs"
}

configure_and_build_targets() { # <build dir> <targets> <extra cmake arguments...>
  local dir=$1 targets=$2
  shift 2
  cmake -S . -B "$dir" -G Ninja "$@"
  # shellcheck disable=SC2086
  cmake --build "$dir" --parallel "$jobs" --target $targets
}

case "$mode" in
  run)
    configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
    exec build/src/orvela
    ;;
  package)
    # The compiler and linker flags Debian builds its own packages with (stack protector,
    # fortified functions, full RELRO, bind now), in a build folder of their own.
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    configure_and_build build-deb -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
      "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
      "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"
    (cd build-deb && cpack -G DEB)
    ;;
  test)
    configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DORVELA_WERROR=ON
    ctest --test-dir build --output-on-failure --parallel "$jobs"
    configure_and_build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON \
      -DORVELA_WERROR=ON -DORVELA_SANITIZE=ON
    ctest --test-dir build-sanitize --output-on-failure --parallel "$jobs"
    run_fuzz_targets
    ;;
  *)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
