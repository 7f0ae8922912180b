#!/usr/bin/env bash
# Installs what building, running and testing need, builds the program with its tests and
# benchmarks, then runs the whole test suite.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/setup.sh"
cd "${BUILD_DIR:-$here/build}"
ctest --output-on-failure --timeout 600 -j "$(nproc)"
