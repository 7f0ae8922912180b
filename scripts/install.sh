#!/usr/bin/env bash
# Installs what building needs, builds the program's Debian package and installs it with
# apt-get, directly as root or through sudo. `sudo apt-get purge zelvo` removes it again.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$here/build}
"$here/scripts/setup.sh" program
cmake --build "$build" --parallel "$(nproc)" # the manual page and changelog too

rm -rf "$build/package"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$build/package"
debs=("$build/package"/zelvo_*.deb)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# Installed again even where this version already is, so that a rebuilt package replaces it.
$sudo apt-get install -y --reinstall "${debs[0]}"
