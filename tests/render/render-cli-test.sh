#!/bin/sh
# arcveil3d-render as people and scripts use it: bad options fail with one line naming
# the option, a missing EGL driver fails clearly, and the same options give the same
# pictures bit for bit.
#   render-cli-test.sh PATH/TO/arcveil3d-render WORK_DIR
set -u
tool=$1
work=$2
rm -rf "$work" && mkdir -p "$work" || exit 1
export MESA_SHADER_CACHE_DISABLE=true
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

expect_usage_error() {
  option=$1; shift
  "$tool" "$@" >"$work/out.txt" 2>"$work/err.txt"
  rc=$?
  [ $rc -eq 2 ] || fail "$* exited $rc, expected 2"
  [ "$(wc -l <"$work/err.txt")" -eq 1 ] || fail "$*: expected one line, got: $(cat "$work/err.txt")"
  grep -q -- "$option" "$work/err.txt" || fail "$*: message does not name $option: $(cat "$work/err.txt")"
}
expect_usage_error --size --size 12 --bench
expect_usage_error --set --set Snow=1 --bench
expect_usage_error --frames --frames -3 --bench
expect_usage_error --wobble --wobble

# No EGL vendor library at all: a clear error, no crash.
__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent/vendor.json __EGL_VENDOR_LIBRARY_DIRS=/nonexistent \
  "$tool" --size 32x32 --seed 1 --out "$work/x.png" >"$work/out.txt" 2>"$work/err.txt"
rc=$?
[ $rc -eq 3 ] || fail "without an EGL driver: exit $rc, expected 3 ($(cat "$work/err.txt"))"
grep -q "EGL" "$work/err.txt" || fail "without an EGL driver the message does not mention EGL: $(cat "$work/err.txt")"

# Every frame through %d, twice: identical files.
for run in a b; do
  "$tool" --size 96x64 --seed 5 --frames 3 --step 0.2 --set Rain=1 --out "$work/$run-%02d.png" 2>"$work/err.txt" \
    || fail "render run $run failed: $(cat "$work/err.txt")"
done
for i in 00 01 02; do
  [ -s "$work/a-$i.png" ] || fail "frame $i missing"
  cmp -s "$work/a-$i.png" "$work/b-$i.png" || fail "frame $i differs between two runs"
done
[ -e "$work/a-03.png" ] && fail "an extra frame was written"
cmp -s "$work/a-00.png" "$work/a-02.png" && fail "frames 0 and 2 are identical: the clock did not advance"

# Without %d only the last frame is written, and it is the same picture.
"$tool" --size 96x64 --seed 5 --frames 3 --step 0.2 --set Rain=1 --out "$work/last.png" 2>/dev/null \
  || fail "single-file run failed"
cmp -s "$work/last.png" "$work/a-02.png" || fail "--out without %d is not the last frame"

# The benchmark prints its figures, one a line.
"$tool" --size 64x48 --seed 2 --frames 5 --bench >"$work/bench.txt" 2>"$work/err.txt" || fail "bench failed"
for figure in frames fps thread_cpu_ms_per_frame cpu_ms_per_frame system_cpu_ms_per_frame page_faults_per_frame \
  fragments_per_frame fragments_per_pixel first_frame_s peak_rss_mib renderer; do
  grep -q "^$figure " "$work/bench.txt" || fail "bench does not print $figure"
done
[ "$(wc -l <"$work/bench.txt")" -eq 11 ] || fail "bench printed $(wc -l <"$work/bench.txt") lines"
grep -q "^frames 5$" "$work/bench.txt" || fail "bench frame count wrong"

# The fragments one small frame shades, exactly, on the driver that made the reference
# pictures: more means overdraw crept in, fewer that something is no longer drawn.
"$tool" --size 160x120 --seed 1 --frames 1 --bench >"$work/count.txt" 2>/dev/null || fail "counting bench failed"
if grep -qxF "renderer $(cat "$(dirname "$0")/reference/RENDERER.txt")" "$work/count.txt"; then
  grep -q "^fragments_per_frame 95040$" "$work/count.txt" || fail "fragments shaded: $(grep fragments_per_frame "$work/count.txt"), expected 95040"
else
  echo "fragment count not checked: another driver ($(sed -n 's/^renderer //p' "$work/count.txt"))"
fi

[ $failures -eq 0 ] && echo "arcveil3d-render behaves"
exit $failures
