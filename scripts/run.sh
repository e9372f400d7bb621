#!/usr/bin/env bash
# Builds everything and starts Tarvel. Until the desktop windows are in place
# this runs the command-line calculator on the bundled example data set.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/build.sh"
"$root/build/cli/tarvel-calc" "$root/examples/default-grain.txt"
