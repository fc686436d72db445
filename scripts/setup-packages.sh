#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the fuzzing (clang, libFuzzer)
# need, if any is missing (idempotent), and any further packages named as arguments (the Windows
# build's, for one).
# Installing needs root; as another user it uses sudo when a package is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  libfreetype-dev libpng-dev
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev
  libgtest-dev libbenchmark-dev libxmp-dev
  clang libclang-rt-14-dev llvm
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}" >&2
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get -o DPkg::Lock::Timeout=300 update -q
"${sudo[@]}" apt-get -o DPkg::Lock::Timeout=300 install -y -q --no-install-recommends "${missing[@]}"
