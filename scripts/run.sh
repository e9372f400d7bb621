#!/usr/bin/env bash
# Builds what it starts and starts Tarvel, the desktop program. Without a
# display it says so and runs the command-line calculator on the example.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the calculator on the example instead."
  bash "$root/scripts/build.sh" tarvel-calc
  exec "$root/build/cli/tarvel-calc" "$root/examples/default-grain.txt"
fi
bash "$root/scripts/build.sh" tarvel
exec "$root/build/shell/tarvel"
