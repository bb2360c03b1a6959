#!/usr/bin/env bash
# The XScreenSaver settings description parses, every option it can pass is accepted,
# and what its dialog shows by default is what the saver does with no option: a box is
# ticked by default exactly when it has no arg-set (XScreenSaver's rule), a menu's
# default is its first entry, the slider's default is -delay's. Each control's two
# choices reach the setting they stand for.
#   arguments: arcveil3d, linux/arcveil3d.xml
set -euo pipefail
SAVER="$1"
XML="$2"
export XDG_CONFIG_HOME="$(mktemp -d /tmp/arcveil-linux-xml.XXXXXX)"
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
attribute() { xmllint --xpath "string($1)" "$XML"; }

[ "$(attribute /screensaver/@name)$(attribute /screensaver/@gl)$(attribute //command/@arg)" = arcveil3dyes--root ] ||
  fail "not the OpenGL module arcveil3d run with --root"
delay="$(attribute '//number[@id="delay"]/@default')"
"$SAVER" --help | grep -q -- "-delay MICROSECONDS .*(default $delay;" || fail "the slider's default is not -delay's"
xmllint --xpath '//@arg | //@arg-set | //@arg-unset' "$XML" | sed -n 's/^ *arg[a-z-]*="\([^"]*\)"$/\1/p' >"$XDG_CONFIG_HOME/args"
while read -r arg; do
  read -r -a words <<<"${arg//%/$delay}"
  "$SAVER" "${words[@]}" --help >/dev/null || fail "'$arg' is refused"
done <"$XDG_CONFIG_HOME/args"

# setting SWITCH NAME: the value --save stores for NAME after SWITCH (none: "").
setting() {
  rm -rf "$XDG_CONFIG_HOME/arcveil3d"
  env -u DISPLAY "$SAVER" $1 --save >/dev/null || fail "--save $1"
  sed -n "s/^$2=//p" "$XDG_CONFIG_HOME/arcveil3d/settings.ini"
}
# kind|id|setting
while IFS='|' read -r kind id name; do
  if [ "$kind" = boolean ]; then
    on="$(attribute "//boolean[@id='$id']/@arg-set")" off="$(attribute "//boolean[@id='$id']/@arg-unset")"
    ticked=$([ -z "$on" ] && echo 1 || echo 0)
  else
    on="$(attribute "//select[@id='$id']/option[1]/@arg-set")" off="$(attribute "//select[@id='$id']/option[2]/@arg-set")"
    ticked=1
  fi
  [ "$(setting "" "$name")" = "$ticked" ] || fail "$id: the dialog's default is not the saver's $name"
  [ "$(setting "$on" "$name")" = 1 ] && [ "$(setting "$off" "$name")" = 0 ] || fail "$id: '$on', '$off' miss $name"
done <<CONTROLS
boolean|rain|Rain
boolean|cross|Cross
boolean|hieroglyphs|Hieroglyphs
boolean|sounds|Sounds
select|quality|HighQuality
CONTROLS
echo "the settings description: ok"
