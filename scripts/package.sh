#!/usr/bin/env bash
# Builds the two packages, each made by cpack in its preset's build folder:
#  - build/native/packages/arcveil3d_VERSION_amd64.deb: the Linux saver, its XScreenSaver
#    settings description and its manual page under /usr (checked with lintian);
#  - build/windows/packages/Arcveil3D-VERSION-windows.zip: Arcveil3D.scr and Install.txt.
# Usage: scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh all

cmake --preset native
cmake --build --preset native --target arcveil3d arcveil3d_manual arcveil3d_changelog
(cd build/native && cpack >/dev/null)
lintian --fail-on error build/native/packages/arcveil3d_*.deb

cmake --preset windows
cmake --build --preset windows --target Arcveil3D
(cd build/windows && cpack >/dev/null)

ls -1 build/native/packages/*.deb build/windows/packages/*.zip
