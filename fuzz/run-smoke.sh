#!/usr/bin/env bash
# Runs every fuzz target for a bounded time from its committed seed corpus and prints
# its figures; fails on the first finding (the reproducer is kept in the work folder).
#   fuzz/run-smoke.sh <build dir of the 'fuzz' preset> [seconds per target] [work dir]
# Extra libFuzzer options may come in FUZZ_OPTIONS (for example -runs=10000000), and
# FUZZ_ONLY may name the targets to run (default: all).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build="${1:?usage: run-smoke.sh <fuzz build dir> [seconds] [work dir]}"
seconds="${2:-60}"
work="${3:-$build/fuzz-smoke}"

# target:corpus folder:longest input
targets=(
  fuzz_tga_decode:tga_decode:8192
  fuzz_command_line:command_line:4096
  fuzz_registry_settings:registry_settings:2048
  fuzz_frame_timing:frame_timing:256
  fuzz_linux_inputs:linux_inputs:4096
)

status=0
for entry in "${targets[@]}"; do
  IFS=: read -r target corpus maxlen <<<"$entry"
  if [ -n "${FUZZ_ONLY:-}" ] && [[ " $FUZZ_ONLY " != *" $target "* ]]; then
    continue
  fi
  binary="$build/fuzz/$target"
  [ -x "$binary" ] || { echo "run-smoke: $binary is missing (cmake --build --preset fuzz)" >&2; exit 2; }
  # The committed seeds stay as they are: the run grows a copy.
  rm -rf "$work/$target"
  mkdir -p "$work/$target/corpus" "$work/$target/findings"
  cp "$here/corpus/$corpus"/* "$work/$target/corpus/"
  started=$(date +%s)
  set +e
  # shellcheck disable=SC2086
  "$binary" -max_total_time="$seconds" -max_len="$maxlen" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/$target/findings/" ${FUZZ_OPTIONS:-} \
    "$work/$target/corpus" >"$work/$target/log" 2>&1
  code=$?
  set -e
  executions=$(awk '/stat::number_of_executed_units/ {print $2}' "$work/$target/log")
  coverage=$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$work/$target/log" | tail -n1)
  findings=$(find "$work/$target/findings" -type f | wc -l)
  echo "$target: ${executions:-?} executions in $(( $(date +%s) - started )) s, $coverage, corpus $(ls "$work/$target/corpus" | wc -l) inputs, findings $findings"
  if [ "$code" -ne 0 ] || [ "$findings" -ne 0 ]; then
    echo "$target: FAILED (exit $code); log and reproducer in $work/$target" >&2
    grep -E 'ERROR|runtime error|reading [0-9]+:|SUMMARY' "$work/$target/log" | head -n 20 >&2 || true
    status=1
  fi
done
exit $status
