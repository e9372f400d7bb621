#!/usr/bin/env bash
# Installs what is missing, then configures and builds in build/: everything,
# or only the targets named on the command line (bash scripts/build.sh tarvel-calc).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
targets=()
for t in "$@"; do
  targets+=(--target "$t")
done
cmake --build "$root/build" -j"$(nproc)" "${targets[@]}"
