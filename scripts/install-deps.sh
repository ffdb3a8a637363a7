#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test. Idempotent, asks nothing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev qt6-multimedia-dev libqt6opengl6-dev
  libqt6svg6 qt6-qpa-plugins
  qt6-translations-l10n
  libgl-dev
  fonts-ipafont fonts-ipafont-gothic fonts-ipafont-mincho
  xvfb xauth
  poppler-utils
  libbenchmark-dev
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
