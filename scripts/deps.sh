#!/usr/bin/env bash
# Installs whatever of the build and test tools is missing (Debian 12).
set -euo pipefail
packages=(cmake make g++ googletest libgtest-dev libgmock-dev libbenchmark-dev x11-xserver-utils
          g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth xdotool x11-utils imagemagick
          zlib1g-dev wixl msitools faketime osslsigncode openssl zip unzip weasyprint poppler-utils fonts-dejavu-core
          clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
