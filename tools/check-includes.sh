#!/usr/bin/env bash
# Prints every #include of the product's code that crosses folders, then checks the
# layering rules against them:
#  - portable code (no _Win32 or _Linux suffix, outside framework/, native/, windows/,
#    linux/ and tools/) includes no Windows header and no platform's file;
#  - platform/ includes nothing above it; the portable core (app/, display/, assets/,
#    render/) includes nothing of the programs above it, and the renderer reads only
#    the settings record and the failure chain from app/;
#  - framework/ includes nothing above it (only platform/);
#  - native/, the native programs' shell, stands on the portable core and the seams;
#  - a program's folder (windows/, linux/, tools/) is included by nothing but itself:
#    the shared folders stand below the programs, and no program uses another's top;
#  - linux/ includes nothing from framework/ and no Windows file;
#  - no folder includes another that includes it back, directly or round a longer
#    loop; a folder's _Win32 and _Linux files count as a part of their own.
# Exit status 1 when a rule is broken; CTest runs it with the native tests.
#   tools/check-includes.sh            (from anywhere in the checkout)
set -euo pipefail
# Each rule reads its lines from a pipeline; it must run in this shell to mark a break.
shopt -s lastpipe
cd "$(dirname "$0")/.."
# The product's sources: git's list in a checkout, every file in a copy without one
# (tools/mutants/run.sh's scratch tree).
sources() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h'
  else
    find . -path ./build -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print | sed 's#^\./##'
  fi
}

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
includes=$(sources | grep -Ev '^(tests|fuzz|build)/' | sort \
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
portable() { grep -vE '(_Win32|_Linux)\.(h|cpp):|^(framework|native|windows|linux|tools)/'; }
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
printf '%s\n' "$project" | grep -E '^native/' | target_of \
  | grep -vE ' -> (native|app|display|assets|render|platform|resources)/' \
  | rule "native/ stands on the portable core and the seams alone"
printf '%s\n' "$project" | target_of | awk '{ split($1, f, "/"); split($3, t, "/") }
    t[1] ~ /^(windows|linux|tools)$/ && f[1] != t[1]' | rule "nothing but a program's own folder includes it"
printf '%s\n' "$includes" | grep -E '^linux/' | grep -E "$windows_headers|\"framework/|_Win32\.h\"" | target_of \
  | rule "linux/ includes nothing from framework/ and no Windows file"

# Folder parts: "display" for display/'s portable files, "display(Win32)" for its _Win32 ones.
part() { sed -E 's#^([a-z-]+)/[^ ]*_(Win32|Linux)\.(h|cpp)$#\1(\2)#; s#^([a-z-]+)/[^ ]*$#\1#'; }
edges=$(printf '%s\n' "$project" | target_of | while read -r from _ to; do
  a=$(printf '%s\n' "$from" | part) b=$(printf '%s\n' "$to" | part)
  [ "$a" = "$b" ] || printf '%s %s\n' "$a" "$b"
done | sort -u)
echo "Folder parts and what they include:"
printf '%s\n' "$edges" | awk '{ to[$1] = to[$1] " " $2 } END { for (f in to) printf "  %-18s ->%s\n", f, to[f] }' | sort
printf '%s\n' "$edges" | tsort 2>&1 >/dev/null | grep -v '^tsort: -: input contains a loop:$' | sed 's/^tsort: //' \
  | rule "no folder includes another that includes it back (a loop's folders are named)"
exit $broken
