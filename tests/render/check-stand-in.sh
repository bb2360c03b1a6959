#!/bin/sh
# The recording stand-in must define every gl* function that the renderer and the asset
# code call, and the GL functions GLU's matrix helpers call: any it lacks would bind to
# the real libGL's no-context stub and silently do nothing.
#   check-stand-in.sh NM STAND_IN_OBJECT LIBRARY...
set -eu
nm_tool=$1
stand_in=$2
shift 2

defined=$("$nm_tool" --defined-only "$stand_in" | awk '$2 == "T" { print $3 }' | grep '^gl[A-Z]' | sort -u)
needed=$( { "$nm_tool" --undefined-only "$@" | awk '{ print $NF }' | grep '^gl[A-Z]'
            # What gluPerspective and gluLookAt call.
            printf '%s\n' glMultMatrixd glMultMatrixf glTranslated glTranslatef; } | sort -u)
calls_glu=$("$nm_tool" --undefined-only "$@" | awk '{ print $NF }' | grep '^glu[A-Z]' | sort -u)

status=0
for symbol in $needed; do
  if ! printf '%s\n' "$defined" | grep -qx "$symbol"; then
    echo "recording stand-in lacks $symbol" >&2
    status=1
  fi
done
# GLU functions beyond these would call GL functions nobody has checked.
for symbol in $calls_glu; do
  case $symbol in
    gluPerspective|gluLookAt) ;;
    *) echo "the renderer calls $symbol; list the GL functions it uses here" >&2; status=1 ;;
  esac
done
[ -n "$needed" ] || { echo "no gl* symbols found: wrong inputs?" >&2; status=1; }
[ $status -eq 0 ] && echo "stand-in defines all $(printf '%s\n' "$needed" | wc -l) GL functions in use"
exit $status
