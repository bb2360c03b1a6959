#!/usr/bin/env bash
# The program is linked statically: it imports system DLLs only.
#   check-imports.sh <objdump> <Arcveil3D.scr>
set -euo pipefail
imports=$("$1" -p "$2" | awk '/DLL Name:/ {print $3}')
echo "imports:" $imports
others=$(grep -vixE '(ADVAPI32|GDI32|GLU32|KERNEL32|msvcrt|OPENGL32|SHELL32|USER32|WINMM)\.dll' <<<"$imports" || true)
[ -n "$imports" ] && [ -z "$others" ] || { echo "FAILED: not system DLLs:" $others; exit 1; }
