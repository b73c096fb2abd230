#!/usr/bin/env bash
# Installs whatever Debian packages are missing, configures and builds, then
# either launches the program ("run") or runs the whole test suite ("test"):
# the release build's tests, then the same tests built with the address,
# leak and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ cmake ninja-build pkg-config qt6-base-dev libpng-dev zlib1g-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation2
          libcli11-dev nlohmann-json3-dev libdeflate-dev libgif-dev)

# The tests also check the tilesets against Tiled's own renderer
# (tmxrasterizer) and a headless Godot 3, fuzz the texture decoder with
# clang's libFuzzer, drive the window under a real window manager (Xvfb,
# openbox, xdotool) and split runs with GNU parallel.
if [ "${1:-run}" = test ]; then
  packages+=(tiled godot3-server clang libclang-rt-14-dev xvfb openbox xdotool x11-utils parallel)
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# The test runs are CI's: any compiler warning fails them. A plain run turns
# that off again, so a newer compiler's new warning never stops a user.
werror=OFF
if [ "${1:-run}" = test ]; then werror=ON; fi

cmake --preset default -DBRANNOC_WERROR=$werror >/dev/null

case "${1:-run}" in
  run)
    # The two programs only: the tests and benchmarks are most of the build,
    # and the window need not wait for them.
    cmake --build --preset default --target brannoc brannoc-render
    exec ./build/app/brannoc ;;
  test)
    cmake --build --preset default
    ctest --preset default
    echo "== The same tests under the sanitizers"
    cmake --preset debug -DBRANNOC_WERROR=$werror >/dev/null
    cmake --build --preset debug
    exec ctest --preset debug ;;
  *) echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac
