#!/usr/bin/env bash
# Writes the truths of the parents' helium to tests/calc/data/parents-*.csv:
# the independent finite-volume solution of scripts/parents-check.cpp, at two
# resolutions, the finer kept and their largest relative difference noted in
# the file. The line "# grain: ..." holds the arguments the test reads back
# (R b a EA D0 U TH SM and the stopping distances of 238U 235U 232Th 147Sm,
# single-precision values as a data set holds them). Takes a couple of minutes.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
data="$root/tests/calc/data"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
g++ -O2 -std=c++17 -o "$tmp/parents-check" "$root/scripts/parents-check.cpp"

# Drawn points "t,T t,T ..." joined by straight lines, split into steps of 5.
steps() {
    echo "$@" | tr ' ' '\n' | awk -F, '
        NR > 1 { for (t = t0 + 5; $1 - t > 1e-9 * (1 + $1); t += 5)
                     printf "%.17g,%.17g\n", t, T0 + ($2 - T0) * (t - t0) / ($1 - t0) }
        { printf "%.17g,%.17g\n", $1, $2; t0 = $1; T0 = $2 }'
}

# name, grain and parents, history, coarse and fine "cells steps-per-unit", what it is
run() {
    local name=$1 grain=$2 history=$3 coarse=$4 fine=$5 what=$6
    steps $history >"$tmp/history"
    "$tmp/parents-check" $grain $coarse <"$tmp/history" >"$tmp/coarse"
    "$tmp/parents-check" $grain $fine <"$tmp/history" >"$tmp/fine"
    local diff
    diff=$(paste -d, "$tmp/coarse" "$tmp/fine" | awk -F, 'NR > 1 && $6 > 0 {
        d = ($3 - $6) / $6; if (d < 0) d = -d; if (d > w) w = d } END { printf "%.1e", w }')
    {
        echo "# $what"
        echo "# Made by scripts/make-parents-truths.sh: finite volumes (scripts/parents-check.cpp),"
        echo "# cells and time steps per unit $fine; at $coarse the helium differs by"
        echo "# at most $diff relative."
        echo "# grain: $grain"
        cat "$tmp/fine"
    } >"$data/$name.csv"
    echo "$name: coarse vs fine $diff"
}

run parents-shell-reheating \
    "60 40 20 36200 1807.800048828125 30 80 200 15.550000190734863 18.049999237060547 18.430000305175781 4.7600002288818359" \
    "0,120 400,30 600,30 650,95 750,25 1000,20" "2000 100" "4000 200" \
    "The default grain's shell zone, U 30, Th 80, Sm 200 ppm, zircon stopping distances; cooling, reheating to 95 °C, cooling over 1000 Myr."
run parents-late-cooling \
    "100 100 0 32961.14453125 50 100 100 0 18.809999465942383 21.799999237060547 22.25 5.929999828338623" \
    "0,120 57.5,65 60,20" "2000 400" "4000 1600" \
    "Apatite sphere of 100 µm radius, U = Th = 100 ppm, D0 50 cm²/s, Ea 138 kJ/mol; 120 -> 65 °C over 57.5 Myr, then to 20 °C."
