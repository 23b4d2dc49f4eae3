#!/usr/bin/env bash
# Builds the suite and starts one program: korvlog (default), korvview,
# vxmlog or ergomark. Further arguments go to the program.
set -euo pipefail
KORV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$KORV_ROOT/cmake/setup.sh"

which_program="${1:-korvlog}"
[ $# -gt 0 ] && shift
case "$which_program" in
  korvlog)  binary=Korvlog ;;
  korvview) binary=Korvview ;;
  vxmlog)   binary=VXMlog ;;
  ergomark) binary=Ergomark ;;
  *) echo "usage: ./run.sh [korvlog|korvview|vxmlog|ergomark]" >&2; exit 2 ;;
esac

korv_install_missing
korv_make_locale
korv_build "$KORV_ROOT/build"

if [ ! -x "$KORV_ROOT/build/bin/$binary" ]; then
  echo "The build did not produce build/bin/$binary." >&2
  exit 1
fi
# The programs keep their working files in the current directory.
exec "$KORV_ROOT/build/bin/$binary" "$@"
