#!/usr/bin/env bash
# Installs what is missing, builds the programs (Release, no tests) into
# ./build-release, backs up a small sample folder with the sample job file
# and lists the archive, then checks that the editor and the scheduler start
# and stay up. Everything the programs write goes to a new private folder
# in the temporary folder: settings, report, runtime sockets, archive.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh programs
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-release -j"$(nproc)" --target programs
bin=build-release/bin

umask 077
sample="$(mktemp -d "${TMPDIR:-/tmp}/zentavo-sample.XXXXXX")"
mkdir -p "$sample/documents" "$sample/config/zentavo" "$sample/run" "$sample/temp"
echo "Dear reader, this file is backed up." > "$sample/documents/readme.txt"
echo "A second file of the sample." > "$sample/documents/letter.txt"
echo "left out by the job's exclusion mask" > "$sample/documents/scratch.tmp"

# The sample job file with its folders moved into the sample folder.
sed "s|/tmp/zentavo-sample|$sample|g" samples/Sample.dat > "$sample/Sample.dat"

# Settings of the sample's own: the report and the temporary files in the
# sample folder (the format is in docs/settings-format.md).
cat > "$sample/config/zentavo/registry" <<SETTINGS
[Software\\Omberly Soft\\The Zentavo]
TempDir=s:$sample/temp/
ReportDir=s:$sample/
RepRunDir=s:$sample/
DefaultDat=s:$sample/Sample.dat
SETTINGS
export XDG_CONFIG_HOME="$sample/config" XDG_DATA_HOME="$sample/data" XDG_RUNTIME_DIR="$sample/run"
export QT_QPA_PLATFORM=offscreen

timeout 300 "$bin/Zentavo" /run /close "$sample/Sample.dat"
echo "Zentavo: ran the sample job; its report is $sample/Report.txt"
unzip -l "$sample/archive/Documents.zip"

# The editor and the scheduler stay up until they are closed: check that
# each starts and keeps running.
for program in Pelvaro Vorrin; do
  "$bin/$program" &
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
echo "The sample's files are in $sample (remove it with: rm -r $sample)"
