#!/usr/bin/env bash
# Installs the Debian packages the Windows build, its package and its tests under Wine need. Idempotent,
# asks nothing; as root or with sudo.
set -euo pipefail

packages=(
  cmake ninja-build pkg-config
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
  nsis
  wine wine64
  xvfb xauth x11-apps netpbm
  fonts-ipafont fonts-ipafont-gothic fonts-ipafont-mincho
  xz-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "windows/install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
