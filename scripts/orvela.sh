#!/usr/bin/env bash
# Set-up for a fresh Debian 12 / Ubuntu machine: installs the missing system packages,
# configures and builds, then either starts Orvela or runs the whole test suite.
#
#   scripts/orvela.sh run    build and start the program
#   scripts/orvela.sh test   build and run the tests, then again with ASan + UBSan
set -euo pipefail

mode=${1:-run}
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

# What building and running needs; the tests add their tools and the validators of the
# desktop and AppStream files.
run_packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libgl-dev)
test_packages=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth appstream desktop-file-utils)
case "$mode" in
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *) packages=("${run_packages[@]}") ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  install_line="apt-get install -y --no-install-recommends ${missing[*]}"
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    # sudo asks for a password only where someone can type it.
    sudo_check=(sudo -n true)
    [ -t 0 ] && sudo_check=(sudo -v)
    if ! command -v sudo >/dev/null || ! "${sudo_check[@]}" 2>/dev/null; then
      echo "orvela.sh: these packages are missing: ${missing[*]}" >&2
      echo "Installing them needs root rights, and sudo is missing or refused. As root, run" >&2
      echo "" >&2
      echo "    apt-get update && $install_line" >&2
      echo "" >&2
      echo "then run this script again." >&2
      exit 1
    fi
    sudo=(sudo)
  fi
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc)

configure_and_build() { # <build dir> <extra cmake arguments...>
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@"
  cmake --build "$dir" --parallel "$jobs"
}

case "$mode" in
  run)
    configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
    exec build/src/orvela
    ;;
  test)
    configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DORVELA_WERROR=ON
    ctest --test-dir build --output-on-failure --parallel "$jobs"
    configure_and_build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON \
      -DORVELA_WERROR=ON -DORVELA_SANITIZE=ON
    ctest --test-dir build-sanitize --output-on-failure --parallel "$jobs"
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
