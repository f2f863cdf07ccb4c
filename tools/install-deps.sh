#!/usr/bin/env bash
# Installs the Debian packages that are missing: with the argument
# "programs" only those that building and trying the programs needs (the
# sample), otherwise also those of the tests and the formatting check; with
# "sanitizers" also clang and its sanitizer run-time (tools/run-sanitizers.sh).
set -euo pipefail

packages=(
  cmake make g++ pkgconf
  qt6-base-dev qt6-translations-l10n zlib1g-dev
  # The help files: read with chmlib, compiled at build time with chmcmd.
  libchm-dev fp-utils-3.2.2
  # The sample lists its archive.
  unzip
)
if [[ "${1:-}" != programs ]]; then
  packages+=(
    libgtest-dev libgmock-dev
    # Tools the tests check archives, mail and printing with.
    zip p7zip-full libarchive-tools python3 python3-aiosmtpd poppler-utils
    # The formatting check (tools/check-format.sh): Debian 12's clang-format 14.
    clang-format
  )
fi
if [[ "${1:-}" == sanitizers ]]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
