#!/usr/bin/env bash
# Runs every fuzz target for a bounded time on a copy of its committed seed corpus and
# prints its figures; fails on a finding (the reproducer stays in the work folder).
#   fuzz/run-smoke.sh <build dir of the 'fuzz' preset> [seconds per target] [work dir]
# FUZZ_OPTIONS: more libFuzzer options (e.g. -runs=10000000); FUZZ_ONLY: targets to run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build="${1:?usage: run-smoke.sh <fuzz build dir> [seconds] [work dir]}"
seconds="${2:-10}"
work="${3:-$build/fuzz-smoke}"
status=0
# target:longest input
for entry in command_line:4096 frame_timing:256 settings_file:4096; do
  target=fuzz_${entry%%:*}
  [[ -z "${FUZZ_ONLY:-}" || " $FUZZ_ONLY " == *" $target "* ]] || continue
  rm -rf "${work:?}/$target" && mkdir -p "$work/$target/findings"
  cp -r "$here/corpus/${entry%%:*}" "$work/$target/corpus"
  started=$SECONDS
  # shellcheck disable=SC2086
  "$build/fuzz/$target" -max_total_time="$seconds" -max_len="${entry##*:}" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/$target/findings/" ${FUZZ_OPTIONS:-} "$work/$target/corpus" \
    >"$work/$target/log" 2>&1 && code=0 || code=$?
  findings=$(find "$work/$target/findings" -type f | wc -l)
  echo "$target: $(awk '/number_of_executed_units/ {print $2}' "$work/$target/log") executions in" \
    "$((SECONDS - started)) s, $(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$work/$target/log" | tail -n1), findings $findings"
  if [ "$code" -ne 0 ] || [ "$findings" -ne 0 ]; then
    echo "$target: FAILED (exit $code); log and reproducer in $work/$target" >&2
    grep -E 'ERROR|runtime error|SUMMARY' "$work/$target/log" | head -n 20 >&2 || true
    status=1
  fi
done
exit $status
