#!/bin/bash
# Installs what building, running and testing need on Debian 12. Safe to run
# again: it asks apt only for what is missing. Works as root or through sudo.
set -euo pipefail

packages=(cmake ninja-build make g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
          mingw-w64-tools binutils-mingw-w64 wine64 xvfb xdotool x11-utils imagemagick
          fonts-ipafont-gothic googletest locales fp-utils-3.2.2 python3)

if [ "$(id -u)" -eq 0 ]; then SUDO=(); else SUDO=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${SUDO[@]}" apt-get update -qq
  "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine must create its prefix under a Japanese locale, or captions show boxes.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf8$'; then
  echo "Generating the ja_JP.UTF-8 locale"
  "${SUDO[@]}" localedef -i ja_JP -c -f UTF-8 ja_JP.UTF-8
fi
