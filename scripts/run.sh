#!/usr/bin/env bash
# Sets up and builds the program, then starts it.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/setup.sh"
exec "${BUILD_DIR:-$here/build}/src/zelvo"
