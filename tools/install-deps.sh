#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail

packages=(
  cmake make g++ pkgconf
  qt6-base-dev qt6-translations-l10n zlib1g-dev libgtest-dev libgmock-dev
  # The help files: read with chmlib, compiled at build time with chmcmd.
  libchm-dev fp-utils-3.2.2
  # Tools the tests check archives, mail and printing with.
  zip unzip p7zip-full libarchive-tools python3 python3-aiosmtpd poppler-utils
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
