#!/usr/bin/env bash
# The program is linked statically: it imports system DLLs only.
#   check-imports.sh <objdump> <Arcveil3D.scr>
set -euo pipefail
allowed=" ADVAPI32.dll GDI32.dll GLU32.dll KERNEL32.dll msvcrt.dll OPENGL32.dll USER32.dll WINMM.dll SHELL32.dll "
status=0
for dll in $("$1" -p "$2" | awk '/DLL Name:/ {print $3}'); do
  if [[ "$allowed" == *" $dll "* ]]; then
    echo "ok: imports $dll"
  else
    echo "FAILED: imports $dll, which is not a system DLL"
    status=1
  fi
done
exit $status
