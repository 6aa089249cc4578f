#!/bin/sh
# Checks the menu entry and the AppStream metadata with Debian's validators (desktop-file-utils,
# appstream). Exits 77, "skipped", when neither is installed.
# Usage: tools/desktop/validate.sh DESKTOP-FILE METAINFO-FILE
set -e
found=0
if command -v desktop-file-validate >/dev/null; then
  found=1
  desktop-file-validate "$1"
fi
if command -v appstreamcli >/dev/null; then
  found=1
  appstreamcli validate --no-net "$2"
fi
[ "$found" = 1 ] || exit 77
