#!/usr/bin/env bash
# Installs what Zorvex needs to build, run and test on Debian 12, only when
# something is missing; quiet when everything is there.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config
          qt6-base-dev qt6-multimedia-dev libqt6svg6 qt6-qpa-plugins
          qt6-image-formats-plugins
          libsqlite3-dev libgtest-dev googletest libbenchmark-dev
          libsane-dev libsane1 sane-utils
          fonts-liberation poppler-utils xvfb xauth espeak-ng)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
