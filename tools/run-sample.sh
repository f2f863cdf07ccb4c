#!/usr/bin/env bash
# Installs what is missing, builds, and starts each of the three programs once
# to check that it starts and ends cleanly.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
for program in Zentavo Pelvaro Vorrin; do
  QT_QPA_PLATFORM=offscreen "build/bin/$program"
  echo "$program: started and ended cleanly"
done
