# Sourced by every script that runs Wine: where Debian's wine64 package puts Wine's
# 64-bit loader and its server, and the environment every Wine call gets (no debug
# output, no .NET or HTML engine to install).
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
