#!/usr/bin/env bash
# The XScreenSaver settings description parses, every option it names is accepted by
# the program, and its five switches reach the five settings they stand for.
#   arguments: arcveil3d, linux/arcveil3d.xml
set -euo pipefail
SAVER="$1"
XML="$2"
WORK="$(mktemp -d /tmp/arcveil-linux-xml.XXXXXX)"
trap 'rm -rf "$WORK"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

xmllint --noout "$XML" || fail "xmllint refused the file"
[ "$(xmllint --xpath 'string(/screensaver/@name)' "$XML")" = arcveil3d ] || fail "the module is not named arcveil3d"
[ "$(xmllint --xpath 'string(/screensaver/@gl)' "$XML")" = yes ] || fail "not marked as an OpenGL module"

# Every argument the dialog can pass, from whichever attribute holds it.
mapfile -t ARGS < <(xmllint --xpath '//@arg | //@arg-set | //@arg-unset' "$XML" | sed -n 's/^ *arg[a-z-]*="\([^"]*\)"$/\1/p')
[ "${#ARGS[@]}" -ge 6 ] || fail "only ${#ARGS[@]} options found"
for arg in "${ARGS[@]}"; do
  # Each option, as the dialog would pass it, with --help so that nothing runs.
  read -r -a words <<<"$arg"
  "$SAVER" "${words[@]}" --help >/dev/null 2>"$WORK/err" || fail "'$arg' is refused: $(cat "$WORK/err")"
done
echo "options accepted: ${ARGS[*]}"

# Every switch set against its default reaches its own setting.
export XDG_CONFIG_HOME="$WORK/config"
OFF=()
for arg in "${ARGS[@]}"; do
  [ "$arg" = -root ] || OFF+=("$arg")
done
env -u DISPLAY "$SAVER" "${OFF[@]}" --save >/dev/null || fail "--save with ${OFF[*]}"
FILE="$XDG_CONFIG_HOME/Quenmoor Soft./arcveil3d/settings.ini"
for pair in Sounds=0 Cross=0 Hieroglyphs=0 Rain=0 HighQuality=0 Width=640; do
  grep -qx "$pair" "$FILE" || fail "$pair not reached by ${OFF[*]}: $(cat "$FILE")"
done
echo "the five switches reach their settings: ok"
