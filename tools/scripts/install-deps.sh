#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing Quenloft need.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev
  qt6-base-dev
  zlib1g-dev libcurl4-openssl-dev openssl ca-certificates
  clang libclang-rt-14-dev clang-format clang-tidy
  fp-compiler fp-units-rtl
  python3 python3-pefile python3-pyftpdlib
  binutils-mingw-w64-x86-64 gcc-mingw-w64-x86-64 binutils-mingw-w64-i686 gcc-mingw-w64-i686
  liblnk-utils desktop-file-utils makeself time
  fonts-liberation2
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
