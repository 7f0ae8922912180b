#!/usr/bin/env bash
# Installs what building and running need, builds the program alone, then starts it.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/setup.sh" program
exec "${BUILD_DIR:-$here/build}/src/zelvo" "$@"
