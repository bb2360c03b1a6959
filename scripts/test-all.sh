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

# ---------------------------------------------------------------------------------
# Robustness: the native tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then each fuzz target for a bounded time (FUZZ_SECONDS,
# default 60) from its committed seed corpus. Each block prints how long it took.
block_start=$SECONDS
cmake --preset native-asan
cmake --build --preset native-asan
ctest --preset native-asan
echo "test-all: native-asan block took $((SECONDS - block_start)) s"

block_start=$SECONDS
cmake --preset fuzz
cmake --build --preset fuzz
fuzz/run-smoke.sh build/fuzz "${FUZZ_SECONDS:-60}"
echo "test-all: fuzz smoke block took $((SECONDS - block_start)) s"
