#!/usr/bin/env bash
# The XScreenSaver settings description parses, every option it can pass is accepted,
# and what the dialog shows by default is what the saver does with no option: a box is
# ticked by default exactly when it has no arg-set (XScreenSaver's rule), a menu's
# default is its first entry without arg-set (else its first), the slider's default is
# the saver's -delay. Each control's choices reach the setting they stand for.
#   arguments: arcveil3d, linux/arcveil3d.xml
set -euo pipefail
SAVER="$1"
XML="$2"
WORK="$(mktemp -d /tmp/arcveil-linux-xml.XXXXXX)"
trap 'rm -rf "$WORK"' EXIT
export XDG_CONFIG_HOME="$WORK/config"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
attribute() { xmllint --xpath "string($1)" "$XML"; }

xmllint --noout "$XML" || fail "xmllint refused the file"
[ "$(attribute /screensaver/@name)$(attribute /screensaver/@gl)$(attribute //command/@arg)" = arcveil3dyes--root ] ||
  fail "not the OpenGL module arcveil3d run with --root"
delay="$(attribute '//number[@id="delay"]/@default')"
mapfile -t ARGS < <(xmllint --xpath '//@arg | //@arg-set | //@arg-unset' "$XML" | sed -n 's/^ *arg[a-z-]*="\([^"]*\)"$/\1/p')
for arg in "${ARGS[@]}"; do
  read -r -a words <<<"${arg//%/$delay}"
  "$SAVER" "${words[@]}" --help >/dev/null 2>"$WORK/err" || fail "'$arg' is refused: $(cat "$WORK/err")"
done
"$SAVER" --help | grep -q -- "-delay MICROSECONDS .*(default $delay;" || fail "the slider's default is not -delay's"
echo "options accepted: ${ARGS[*]}"

# setting SWITCH NAME: the value --save stores for NAME after SWITCH (none: "").
setting() {
  rm -rf "$XDG_CONFIG_HOME"
  env -u DISPLAY "$SAVER" $1 --save >/dev/null || fail "--save $1"
  sed -n "s/^$2=//p" "$XDG_CONFIG_HOME/arcveil3d/settings.ini"
}
# id|setting|type
while IFS='|' read -r id name type; do
  if [ "$type" = boolean ]; then
    set_arg="$(attribute "//boolean[@id='$id']/@arg-set")"
    unset_arg="$(attribute "//boolean[@id='$id']/@arg-unset")"
    ticked=$([ -z "$set_arg" ] && echo 1 || echo 0)
  else
    set_arg="$(attribute "//select[@id='$id']/option[1]/@arg-set")"
    unset_arg="$(attribute "//select[@id='$id']/option[2]/@arg-set")"
    # (With an entry that has no arg-set, that entry would be the default.)
    [ -z "$(attribute "//select[@id='$id']/option[not(@arg-set)]/@id")" ] || fail "$id: an entry without arg-set"
    ticked=1
  fi
  [ "$(setting "" "$name")" = "$ticked" ] || fail "$id: the dialog's default is not the saver's $name"
  [ "$(setting "$set_arg" "$name")" = 1 ] && [ "$(setting "$unset_arg" "$name")" = 0 ] ||
    fail "$id: '$set_arg' and '$unset_arg' do not reach $name"
  echo "$id: default and both choices: ok"
done <<EOF
rain|Rain|boolean
cross|Cross|boolean
hieroglyphs|Hieroglyphs|boolean
sounds|Sounds|boolean
quality|HighQuality|select
EOF
