#!/usr/bin/env bash
# tarvel-calc --invert and tarvel-calc-mpi --invert under two MPI ranks on one
# machine write the same summary and the same two CSVs, byte for byte.
# Usage: mpi_compare.sh TARVEL_CALC TARVEL_CALC_MPI MPIEXEC DATA_FILE
set -euo pipefail
calc="$1" calcmpi="$2" mpiexec="$3" data="$4"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# An odd number of paths, so the ranks' shares differ in size.
options=(--invert --paths 301 --seed 3)
"$calc" "${options[@]}" --accepted "$work/accepted-1.csv" --envelope "$work/envelope-1.csv" \
  "$data" > "$work/summary-1.csv"

# Under AddressSanitizer: Open MPI unloads its plugins at MPI_Finalize, and
# the fast unwinder stops at their frames, so a leak of theirs would show no
# library for scripts/sanitizers/lsan.supp to name; the full unwinder reaches
# Open MPI's libraries.
if [ -n "${ASAN_OPTIONS:-}" ]; then
  export ASAN_OPTIONS="$ASAN_OPTIONS:fast_unwind_on_malloc=0"
fi
# More ranks than cores is allowed, and CI runs as root.
mpi=(--oversubscribe)
[ "$(id -u)" -eq 0 ] && mpi+=(--allow-run-as-root)
"$mpiexec" "${mpi[@]}" -n 2 "$calcmpi" "${options[@]}" --accepted "$work/accepted-2.csv" \
  --envelope "$work/envelope-2.csv" "$data" > "$work/summary-2.csv"

for f in summary accepted envelope; do
  cmp "$work/$f-1.csv" "$work/$f-2.csv"
done
# Not a comparison of two empty lists: the search accepted paths.
[ "$(wc -l < "$work/accepted-1.csv")" -gt 1 ]
echo "tarvel-calc and 2 MPI ranks wrote the same summary, accepted paths and envelope"
