#!/usr/bin/env bash
# Builds both presets and runs every test: native under CTest, Windows binaries and
# the end-to-end tests under Wine on a private Xvfb with a private prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh all

cmake --preset native
cmake --build --preset native
ctest --preset native

cmake --preset windows
cmake --build --preset windows
tests/wine/with-wine.sh -- ctest --preset windows
