#!/usr/bin/env bash
# Builds what it starts and starts Tarvel. Until the desktop windows are in
# place this runs the command-line calculator on the bundled example data set.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/build.sh" tarvel-calc
"$root/build/cli/tarvel-calc" "$root/examples/default-grain.txt"
