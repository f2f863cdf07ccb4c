#!/usr/bin/env bash
# Installs what is missing, builds, backs up a small sample folder with the
# sample job file and lists the archive, then checks that the editor and
# the scheduler start and stay up.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh

# The folder that samples/Sample.dat backs up.
sample=/tmp/zentavo-sample
mkdir -p "$sample/documents"
echo "Dear reader, this file is backed up." > "$sample/documents/readme.txt"
echo "A second file of the sample." > "$sample/documents/letter.txt"
echo "left out by the job's exclusion mask" > "$sample/documents/scratch.tmp"

QT_QPA_PLATFORM=offscreen timeout 300 build/bin/Zentavo /run /close samples/Sample.dat
echo "Zentavo: ran the sample job; its report is build/bin/Report.txt"
unzip -l "$sample/archive/Documents.zip"

# The editor and the scheduler stay up until they are closed: check that
# each starts and keeps running.
for program in Pelvaro Vorrin; do
  QT_QPA_PLATFORM=offscreen "build/bin/$program" &
  pid=$!
  sleep 3
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "$program: ended on its own" >&2
    exit 1
  fi
  kill "$pid"
  wait "$pid" || true
  echo "$program: started and kept running"
done
