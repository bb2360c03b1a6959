#!/usr/bin/env bash
# Prints every #include of the product's code that crosses folders, then checks the
# layering rules against them:
#  - portable code (no _Win32 or _Linux suffix, outside framework/, linux/ and tools/)
#    includes no Windows header and no platform's file;
#  - platform/ includes nothing above it; the portable core (app/, display/, assets/,
#    render/) includes nothing of the programs above it, and the renderer reads only
#    the settings record and the failure chain from app/;
#  - framework/ includes nothing above it (only platform/);
#  - linux/ includes nothing from framework/ and no Windows file.
# Exit status 1 when a rule is broken.
#   tools/check-includes.sh            (from anywhere in the checkout)
set -euo pipefail
cd "$(git -C "$(dirname "$0")" rev-parse --show-toplevel)"

windows_headers='<(windows|windowsx|mmsystem|shellapi|tlhelp32|commctrl)\.h>'
broken=0
rule() { # rule NAME, the offending lines on stdin
  local name=$1 lines
  lines=$(cat)
  if [ -n "$lines" ]; then
    echo "BROKEN: $name"
    printf '%s\n' "$lines" | sed 's/^/  /'
    broken=1
  else
    echo "ok: $name"
  fi
}

# file:line:#include "folder/name" for every project include of the product's files.
includes=$(git ls-files -- '*.cpp' '*.h' | grep -Ev '^(tests|fuzz)/' \
  | xargs grep -HnE '^#include +[<"]' | sed -E 's/[[:space:]]+$//')
project=$(printf '%s\n' "$includes" | grep -E ':#include +"[a-z-]+/' || true)

echo "Includes that cross folders (from -> to):"
printf '%s\n' "$project" | awk -F: '{
    from = $1; split(from, f, "/")
    target = $3; sub(/^#include +"/, "", target); sub(/".*/, "", target)
    split(target, t, "/")
    if (f[1] != t[1]) printf "  %-44s -> %s\n", from, target
  }'
echo

# The checks: an empty grep is a kept rule, not a failure.
set +e +o pipefail
portable() { grep -vE '(_Win32|_Linux)\.(h|cpp):|^(framework|linux|tools)/'; }
target_of() { sed -E 's/^([^:]*):[0-9]+:#include +["<]([^">]*)[">].*/\1 -> \2/'; }

printf '%s\n' "$includes" | portable | grep -E "$windows_headers|_Win32\.h\"|_Linux\.h\"|\"framework/" \
  | target_of | rule "portable code includes no Windows header and no platform's file"
printf '%s\n' "$project" | grep -E '^platform/' | target_of | grep -vE ' -> platform/' \
  | rule "platform/ includes nothing above it"
printf '%s\n' "$project" | grep -E '^(app|display|assets|render)/' | portable | target_of \
  | grep -vE ' -> (app|display|assets|render|platform|resources)/' | rule "the portable core includes nothing above it"
printf '%s\n' "$project" | grep -E '^render/' | target_of | grep -E ' -> app/' \
  | grep -vE ' -> app/(Settings|CallChain)\.h$' | rule "the renderer reads only the settings and the failure chain from app/"
printf '%s\n' "$project" | grep -E '^framework/' | target_of | grep -vE ' -> (framework|platform)/' \
  | rule "framework/ includes nothing above it"
printf '%s\n' "$includes" | grep -E '^linux/' | grep -E "$windows_headers|\"framework/|_Win32\.h\"" | target_of \
  | rule "linux/ includes nothing from framework/ and no Windows file"
exit $broken
