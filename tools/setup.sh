#!/usr/bin/env bash
# Installs whatever Debian packages are missing, configures and builds, then
# launches the program ("run"), puts brannoc and brannoc-render in
# ~/.local/bin so they run by name ("install"), or runs the whole test suite
# ("test"): the release build's tests, then the same tests built with the
# address, leak and undefined-behaviour sanitizers.
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

# The test runs are CI's: any compiler warning fails them. A fresh build
# folder for the programs alone leaves it off, so a newer compiler's new
# warning never stops a user; one already configured keeps its setting, so
# "run" after "test" (or "test" again) rebuilds nothing: the flag is on every
# compile line, and turning it over would rebuild every file.
mode=${1:-run}
configure() {
    local preset=$1 dir=$2 flag=-DBRANNOC_WERROR=OFF
    if [ "$mode" = test ]; then flag=-DBRANNOC_WERROR=ON
    elif [ -f "$dir/CMakeCache.txt" ]; then flag=""
    fi
    cmake --preset "$preset" $flag >/dev/null
}
configure default build

case "$mode" in
  run)
    # The two programs only: the tests and benchmarks are most of the build,
    # and the window need not wait for them.
    cmake --build --preset default --target brannoc brannoc-render
    exec ./build/app/brannoc ;;
  install)
    # Where Debian's ~/.profile puts a user's own programs on the PATH.
    cmake --build --preset default --target brannoc brannoc-render
    cmake --install build --prefix "$HOME/.local"
    case ":$PATH:" in
      *":$HOME/.local/bin:"*) echo "brannoc and brannoc-render are in $HOME/.local/bin" ;;
      *) echo "brannoc and brannoc-render are in $HOME/.local/bin: log in again (or run" \
              "'export PATH=\"\$HOME/.local/bin:\$PATH\"') to run them by name" ;;
    esac ;;
  test)
    cmake --build --preset default
    ctest --preset default
    echo "== The same tests under the sanitizers"
    configure debug build-debug
    cmake --build --preset debug
    exec ctest --preset debug ;;
  *) echo "usage: $0 [run|install|test]" >&2; exit 2 ;;
esac
