#!/usr/bin/env bash
# Plants the faults of tools/mutants/faults.txt one at a time in a scratch copy of the
# working tree, rebuilds it, runs the suite that covers the file (the native tests, or
# the Windows tests under Wine), and prints each fault as caught or survived, with a
# total. A fault is caught when the build or a test fails; the suites stop at their
# first failing test. Not part of CI: a whole run takes an hour or more.
#   tools/mutants/run.sh [--only REGEX] [--suite native|windows] [--keep]
#     --only REGEX   plant only the faults whose line matches REGEX (grep -E)
#     --suite S      plant only the faults of one suite
#     --keep         keep the scratch copy's build folders for the next run (faster)
#   MUTANTS_DIR: the scratch folder (default /tmp/arcveil-mutants)
set -euo pipefail
top=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
list="$top/tools/mutants/faults.txt"
scratch="${MUTANTS_DIR:-/tmp/arcveil-mutants}"
only=""
suite=""
keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    --only) only="$2"; shift 2 ;;
    --suite) suite="$2"; shift 2 ;;
    --keep) keep=1; shift ;;
    *) echo "run.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

faults=$(grep -vE '^(#|$)' "$list")
[ -z "$only" ] || faults=$(printf '%s\n' "$faults" | grep -E -- "$only" || true)
[ -z "$suite" ] || faults=$(printf '%s\n' "$faults" | grep -E -- " @@ $suite\$" || true)
[ -n "$faults" ] || { echo "run.sh: no fault matches" >&2; exit 2; }

# The scratch copy: the working tree as it is, committed or not; build folders kept
# only when asked, so that a run starts from a tree that builds from scratch.
[ $keep -eq 1 ] || rm -rf "$scratch/tree"
rm -rf "$scratch/incoming"
mkdir -p "$scratch/tree" "$scratch/incoming"
(cd "$top" && git ls-files -z --cached --others --exclude-standard | xargs -0 tar -cf - 2>/dev/null) \
  | tar -xf - -C "$scratch/incoming"
# Only what differs is copied, with a new time, so that a kept build takes exactly that.
(cd "$scratch/incoming" && find . -type f) | while IFS= read -r file; do
  cmp -s "$scratch/incoming/$file" "$scratch/tree/$file" ||
    { mkdir -p "$(dirname "$scratch/tree/$file")" && cp "$scratch/incoming/$file" "$scratch/tree/$file"; }
done
(cd "$scratch/tree" && find . -path ./build -prune -o -type f -print) | while IFS= read -r file; do
  [ -e "$scratch/incoming/$file" ] || rm -f "$scratch/tree/$file"
done
cd "$scratch/tree"

log="$scratch/log"
mkdir -p "$log"
needs() { printf '%s\n' "$faults" | grep -q " @@ $1\$"; }

# Each suite, built and run once untouched: a suite that fails on its own would make
# every fault look caught.
run_suite() { # run_suite SUITE LOGFILE
  case "$1" in
    native)
      cmake --build --preset native >"$2" 2>&1 &&
        ctest --preset native --stop-on-failure --timeout 300 >>"$2" 2>&1 ;;
    windows)
      cmake --build --preset windows >"$2" 2>&1 &&
        tests/wine/with-wine.sh --prefix "$scratch/wine-prefix" -- \
          ctest --preset windows --stop-on-failure --timeout 300 >>"$2" 2>&1 ;;
  esac
}
for s in native windows; do
  needs "$s" || continue
  cmake --preset "$s" >/dev/null
  echo "untouched $s suite: building and running"
  if ! run_suite "$s" "$log/untouched-$s.txt"; then
    echo "run.sh: the untouched $s suite fails; see $log/untouched-$s.txt" >&2
    exit 1
  fi
done

caught=0
survived=0
stale=0
number=0
survivors=()
while IFS= read -r fault; do
  number=$((number + 1))
  IFS=$'\t' read -r file from to where < <(printf '%s\n' "$fault" | sed 's/ @@ /\t/g')
  cp "$file" "$log/original"
  if ! FROM=$from TO=$to perl -0pi -e '
    my ($f, $t) = ($ENV{FROM}, $ENV{TO});
    s/\^\^/\n/g for ($f, $t);
    my $n = s/\Q$f\E/$t/g;
    die "the text stands $n times\n" if $n != 1;' "$file" 2>/dev/null; then
    # The code moved on: the list needs the fault written anew.
    printf '%-8s %3d %-34s the text does not stand once\n' stale "$number" "$file"
    stale=$((stale + 1))
    continue
  fi
  start=$SECONDS
  if run_suite "$where" "$log/fault-$number.txt"; then
    verdict=survived
    survived=$((survived + 1))
    survivors+=("$number")
  else
    verdict=caught
    caught=$((caught + 1))
  fi
  # The file back as it was, with a new time, so that the next build takes it again.
  cp "$log/original" "$file"
  touch "$file"
  by=$(grep -m1 -oE '(\*\*\*Failed|\*\*\*Timeout|Exception|FAILED: )[^ ]*' "$log/fault-$number.txt" | head -1 || true)
  failing=$(grep -m1 -E '^[[:space:]]*[0-9]+ - ' "$log/fault-$number.txt" | sed -E 's/^[[:space:]]*[0-9]+ - //' || true)
  [ -n "$failing" ] || failing=${by:-}
  printf '%-8s %3d %-34s %s  (%ds%s)\n' "$verdict" "$number" "$file" "$(printf '%s' "$to" | cut -c1-60)" \
    $((SECONDS - start)) "${failing:+, $failing}"
done <<<"$faults"

total=$((caught + survived))
echo "caught $caught of $total ($((100 * caught / (total > 0 ? total : 1)))%), survived $survived${survivors:+: ${survivors[*]}}, stale $stale"
