#!/usr/bin/env bash
# Runs one Windows test binary under Wine. The caller (tests/wine-env.sh or .ci/run)
# provides DISPLAY and WINEPREFIX; without them Wine would pick the user's own.
: "${WINE_TEST_TIMEOUT:=120}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exec timeout -k 5 "$WINE_TEST_TIMEOUT" /usr/lib/wine/wine64 "$@" </dev/null
