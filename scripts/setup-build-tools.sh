#!/usr/bin/env bash
# Installs what building and testing need on a fresh Debian machine (as root).
set -euo pipefail

packages=(cmake ninja-build g++ googletest libgtest-dev libgmock-dev clang-format
          g++-mingw-w64-i686 binutils-mingw-w64-i686 python3 python3-pefile
          wixl msitools)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  "$(dirname "$0")/install-packages.sh" "the build tools" "${missing[@]}"
fi
