#!/bin/sh
# Self-extracting archive: a ZIP archive follows this script. Running it
# extracts the files into the folder given as the first argument (the
# current folder when none is given). unzip finds the archive behind the
# script by itself.
target=${1:-.}
exec unzip -o "$0" -d "$target"
