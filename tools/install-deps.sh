#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages that building and testing qUaRk need and that are
# not installed yet, and any further packages named as arguments (the benchmarks' X server and
# tools). Does nothing when everything is there.
set -euo pipefail
packages=(build-essential cmake pkg-config
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev
  libgtest-dev libvorbis-dev libogg-dev
  fonts-dejavu-core fonts-droid-fallback "$@")
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
