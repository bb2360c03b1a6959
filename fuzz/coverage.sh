#!/usr/bin/env bash
# Source coverage of the code each fuzz target drives, from a corpus (for example the
# one a long run grew): builds the targets with clang's coverage instrumentation in its
# own folder, replays the corpus once and prints llvm-cov's line and branch figures for
# the files under test.
#   fuzz/coverage.sh <coverage build dir> <folder holding <target>/corpus for each target>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build="${1:?usage: coverage.sh <build dir> <corpus root>}"
corpora="${2:?usage: coverage.sh <build dir> <corpus root>}"
flags="-fsanitize=fuzzer-no-link -fprofile-instr-generate -fcoverage-mapping"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_COMPILER=clang "-DCMAKE_CXX_FLAGS=$flags" "-DCMAKE_C_FLAGS=$flags" \
  "-DCMAKE_EXE_LINKER_FLAGS=-fprofile-instr-generate" -DARCVEIL_FUZZ=ON >/dev/null
cmake --build "$build" --target fuzz_targets >/dev/null

# target: the files it is meant to cover
declare -A files=(
  [fuzz_tga_decode]="assets/TgaDecode.cpp assets/LoadTGAResource.cpp"
  [fuzz_command_line]="app/RunMode.cpp app/MatchOption.cpp app/ProgramOptions.cpp"
  [fuzz_registry_settings]="platform/RegistryValue.cpp app/Settings.cpp"
  [fuzz_frame_timing]="render/FrameClock.cpp render/CGLDrawer_Timing.cpp render/CGLDrawer.cpp render/CGLDrawer_Layers.cpp"
  [fuzz_linux_inputs]="assets/WaveFile.cpp linux/SettingsFile.cpp"
)
for target in fuzz_tga_decode fuzz_command_line fuzz_registry_settings fuzz_frame_timing fuzz_linux_inputs; do
  profile="$build/$target.profraw"
  LLVM_PROFILE_FILE="$profile" "$build/fuzz/$target" -runs=0 "$corpora/$target/corpus" >/dev/null 2>&1
  llvm-profdata merge -sparse "$profile" -o "$build/$target.profdata"
  sources=()
  for f in ${files[$target]}; do sources+=("$root/$f"); done
  echo "== $target"
  llvm-cov report "$build/fuzz/$target" -instr-profile="$build/$target.profdata" "${sources[@]}" |
    awk 'NR == 1 || /\.cpp/ || /^TOTAL/'
done
