#!/usr/bin/env bash
# Sets up and builds the program, then runs the whole test suite.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/setup.sh"
cd "${BUILD_DIR:-$here/build}"
ctest --output-on-failure --timeout 600 -j "$(nproc)"
