#!/usr/bin/env bash
# Checks that the C++ sources of src, tests and bench are formatted as
# .clang-format says (clang-format 14, Debian 12's). Files under a folder
# with a .clang-format of its own follow that one: the help map headers of
# src/help/project are read by the help compiler and left as written.
# Names every line that differs and fails; `clang-format -i FILE` mends it.
set -euo pipefail
cd "$(dirname "$0")/.."
find src tests bench -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z \
  | xargs -0 clang-format --dry-run --Werror
echo "Formatting: every file of src, tests and bench follows .clang-format"
