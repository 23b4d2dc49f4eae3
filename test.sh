#!/usr/bin/env bash
# Builds the suite and runs every test with CTest.
# Extra arguments go to CTest (for example: ./test.sh -R Vxm).
set -euo pipefail
KORV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$KORV_ROOT/cmake/setup.sh"

korv_install_missing
korv_make_locale
korv_build "$KORV_ROOT/build"
cd "$KORV_ROOT/build"
ctest --output-on-failure --timeout 300 -j "$(nproc)" "$@"
