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
# default 10) from its committed seed corpus. Each block prints how long it took.
block_start=$SECONDS
cmake --preset native-asan
cmake --build --preset native-asan
ctest --preset native-asan
echo "test-all: native-asan block took $((SECONDS - block_start)) s"

block_start=$SECONDS
cmake --preset fuzz
cmake --build --preset fuzz
fuzz/run-smoke.sh build/fuzz "${FUZZ_SECONDS:-10}"
echo "test-all: fuzz smoke block took $((SECONDS - block_start)) s"

# The size of the tests against the product's code (the rule: about a quarter to a third).
prod=$(git ls-files -- '*.cpp' '*.h' '*.c' | grep -Ev '^(tests|fuzz)/' | xargs cat | grep -cv '^\s*$')
tst=$(git ls-files -- 'tests/*' 'fuzz/*' | grep -E '\.(cpp|h|c|sh)$' | xargs cat | grep -cv '^\s*$')
echo "test-all: tests $tst, product $prod non-blank lines (ratio $(awk -v t="$tst" -v p="$prod" 'BEGIN {printf "%.2f", t / p}'))"
echo "test-all: took $SECONDS s"
