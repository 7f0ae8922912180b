#!/usr/bin/env bash
# Installs whatever is missing on a Debian 12 machine, then configures and builds.
#   setup.sh           everything: the program, its tests and its benchmarks
#   setup.sh program   only what building and running the program needs, and only the program
#                      with the help document beside it
# BUILD_DIR (default: build), BUILD_TYPE and CMAKE_ARGS may be set by the caller.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$here/build}

case ${1:-all} in
program)
    lists=(packages-program.txt)
    options=(-DZELVO_BUILD_TESTS=OFF -DZELVO_BUILD_BENCH=OFF)
    targets=(--target zelvo)
    ;;
all)
    lists=(packages-program.txt packages-tests.txt)
    options=(-DZELVO_BUILD_TESTS=ON -DZELVO_BUILD_BENCH=ON)
    targets=()
    ;;
*)
    echo "usage: $0 [program|all]" >&2
    exit 64
    ;;
esac

mapfile -t wanted < <(cd "$here/scripts" && cat "${lists[@]}" | grep -v -E '^\s*(#|$)')
missing=()
for package in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Where the machine has a compiler cache, sources built before in any clone are not compiled again:
# paths below the clone are cached relative to it.
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="$here" CCACHE_NOHASHDIR=1
    options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

# shellcheck disable=SC2086
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
    "${options[@]}" ${CMAKE_ARGS:-}
cmake --build "$build" --parallel "$(nproc)" "${targets[@]}"
