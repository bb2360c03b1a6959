#!/usr/bin/env bash
# cmake --install puts the module where XScreenSaver looks for it and its settings
# description where XScreenSaver's dialog reads them.
#   argument: the build folder
set -euo pipefail
STAGE="$(mktemp -d /tmp/arcveil-linux-install.XXXXXX)"
trap 'rm -rf "$STAGE"' EXIT
DESTDIR="$STAGE" cmake --install "$1" >/dev/null
[ -x "$STAGE/usr/libexec/xscreensaver/arcveil3d" ] || { echo "FAIL: no module in /usr/libexec/xscreensaver" >&2; exit 1; }
[ -f "$STAGE/usr/share/xscreensaver/config/arcveil3d.xml" ] || { echo "FAIL: no settings description" >&2; exit 1; }
"$STAGE/usr/libexec/xscreensaver/arcveil3d" --help | grep -q -- '-window-id ID' || { echo "FAIL: the installed module does not run" >&2; exit 1; }
echo "installed: ok"
