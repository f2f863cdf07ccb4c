#!/usr/bin/env bash
# Configures and builds everything into ./build; further arguments go to
# the configure step (for example -DZENTAVO_WARNINGS_AS_ERRORS=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build -j"$(nproc)"
