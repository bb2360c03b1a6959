#!/usr/bin/env bash
# Runs one Windows program under Wine, with no input and a time limit
# (WINE_TEST_TIMEOUT seconds, default 120; 0 for none). CTest runs the Windows test
# binaries through it. The caller (tests/wine/with-wine.sh) provides DISPLAY and
# WINEPREFIX; without them Wine would pick the user's own.
. "$(dirname "${BASH_SOURCE[0]}")/wine-paths.sh"
: "${WINE_TEST_TIMEOUT:=120}"
exec timeout -k 5 "$WINE_TEST_TIMEOUT" "$WINE" "$@" </dev/null
