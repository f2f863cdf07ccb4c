#!/usr/bin/env bash
# Installs what is missing (clang and its sanitizer run-time too), builds
# everything with clang under AddressSanitizer and UndefinedBehaviorSanitizer
# into ./build-asan (Debug; undefined behaviour stops the program as a
# memory fault does), and runs the tests. Warnings are the gcc build's
# business (tools/run-tests.sh); this one looks for faults at run time. The
# cases labelled "slow" are left out: under the sanitizers they take minutes
# each, and they test time and size, not memory. Further arguments go to
# ctest (for example -R Zip).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh sanitizers
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_FLAGS="$sanitizers" -DCMAKE_CXX_FLAGS="$sanitizers" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" \
  "${launcher[@]}"
cmake --build build-asan -j"${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
cd build-asan
# Leaks are not looked for: Qt's own caches live until the process ends.
export ASAN_OPTIONS="detect_leaks=0:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:${UBSAN_OPTIONS:-}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 900 -LE slow -j"${CTEST_PARALLEL_LEVEL:-$(nproc)}" "$@"
