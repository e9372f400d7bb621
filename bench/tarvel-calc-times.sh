#!/usr/bin/env bash
# Whole-process times of tarvel-calc, both methods, on a 2,000-point cold
# history (constant -50 °C, one point per 5 time units) at N = 100.
# Usage: bench/tarvel-calc-times.sh [path/to/tarvel-calc] [repeats]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
calc="${1:-$root/build/cli/tarvel-calc}"
repeats="${2:-5}"
data="$(mktemp)"
trap 'rm -f "$data"' EXIT

{
  printf '[DataBegin\r\nNeigen=100\r\nEmission_dist=20\r\n'
  printf 'Sphere_radius=60\r\nOuter_radius=40\r\nInner_radius=20\r\n[TableStart\r\n'
  for ((i = 0; i < 2000; i++)); do printf '%d, -50\r\n' $((i * 5)); done
  printf ']TableEnd\r\n'
} >"$data"

best_of() { # prints the best wall time in ms of $repeats runs
  local best=""
  for ((r = 0; r < repeats; r++)); do
    local start end ms
    start=$(date +%s%N)
    "$calc" "$@" "$data" >/dev/null
    end=$(date +%s%N)
    ms=$(((end - start) / 1000))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  printf '%d.%03d' $((best / 1000)) $((best % 1000))
}

fast=$(best_of --method fast)
direct=$(best_of --method direct)
echo "tarvel-calc, 2000-point cold history, N = 100 (best of $repeats):"
echo "  --method fast:   $fast ms"
echo "  --method direct: $direct ms"
awk -v f="$fast" -v d="$direct" 'BEGIN { printf "  speed-up:        %.0fx\n", d / f }'
