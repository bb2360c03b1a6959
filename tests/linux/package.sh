#!/usr/bin/env bash
# cmake --install (prefix, DESTDIR) and the Debian package: the files where XScreenSaver
# and man look for them, and no lintian error.
#   argument: the native build folder
set -euo pipefail
BUILD="$(realpath "$1")"
source "$(dirname "$0")/../shell-lib.sh"
# expect ROOT: the files under ROOT/usr, exactly.
expect() {
  local files
  files="$(cd "$1" && find . -type f | sort)"
  [ "$files" = "./usr/libexec/xscreensaver/arcveil3d
./usr/share/doc/arcveil3d/changelog.gz
./usr/share/doc/arcveil3d/copyright
./usr/share/man/man6/arcveil3d.6.gz
./usr/share/xscreensaver/config/arcveil3d.xml" ] || fail "$1: $files"
  "$1/usr/libexec/xscreensaver/arcveil3d" --help | grep -q -- '-window-id ID' || fail "$1: the saver does not run"
  [ -z "$(MANWIDTH=80 man --warnings -l "$1/usr/share/man/man6/arcveil3d.6.gz" 2>&1 >/dev/null)" ] ||
    fail "man finds faults in the page"
}

DESTDIR="$WORK/stage" cmake --install "$BUILD" --prefix /opt/arcveil >/dev/null
mv "$WORK/stage/opt/arcveil" "$WORK/stage/usr"
expect "$WORK/stage"
echo "cmake --install with a prefix and DESTDIR: ok"

(cd "$WORK" && cpack --config "$BUILD/CPackConfig.cmake" -B "$WORK/packages" >"$WORK/cpack.txt" 2>&1) ||
  fail "cpack: $(cat "$WORK/cpack.txt")"
DEB="$(ls "$WORK"/packages/arcveil3d_*.deb)"
dpkg-deb -x "$DEB" "$WORK/root"
expect "$WORK/root"
lintian --fail-on error "$DEB" >"$WORK/lintian.txt" 2>&1 || fail "lintian: $(cat "$WORK/lintian.txt")"
echo "package $(basename "$DEB"): paths, lintian: ok"
