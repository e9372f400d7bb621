#!/usr/bin/env bash
# Writes the fine-step truths of the precise method's test cases to
# tests/calc/data/ and checks each against an independent finite-difference
# solution (scripts/continuous-check.cpp). Prints, per case, the largest
# difference in units of the test's bound: 1e-4 relative where the calculated
# time is at least 1 % of the elapsed time, 1e-6 of the elapsed time elsewhere.
# Run from anywhere after a build in build/; takes about a minute.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
cmake --build "$build" -j2 --target precise_truths >/dev/null
g++ -O2 -std=c++17 -o "$build/continuous-check" "$root/scripts/continuous-check.cpp"
tool="$build/tests/calc/precise_truths"
data="$root/tests/calc/data"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# The default grain and model constants (D0 as its single-precision value).
grain="60 40 20 20 36200 1807.800048828125"

bound() { # truth check -> largest difference in bound units
    paste -d, "$1" "$2" | awk -F, '
        /^#/ || /time/ { next }
        t0 == "" { t0 = $1; next }
        { el = $1 - t0; d = $4 - $2; if (d < 0) d = -d
          m = ($2 >= 0.01 * el) ? d / $2 / 1e-4 : d / el / 1e-6
          if (m > worst) worst = m }
        END { printf "%.3f", worst }'
}

# case, cells, time steps per time unit of the check
for run in "cooling-continuous 4000 200" "stretched-continuous 4000 20" \
            "reheating-continuous 4000 800"; do
    set -- $run
    name=$1
    "$tool" "$name" history >"$tmp/$name.history"
    "$tool" "$name" 2>/dev/null >"$tmp/$name.truth"
    "$build/continuous-check" $grain "$2" "$3" <"$tmp/$name.history" >"$tmp/$name.check"
    if [ "$name" = cooling-continuous ]; then
        # Kept as given; compare both with it.
        echo "$name: fine-step precise vs kept truth: $(bound "$data/$name.csv" "$tmp/$name.truth")" \
             "of the bound; finite differences vs kept truth:" \
             "$(bound "$data/$name.csv" "$tmp/$name.check")"
        continue
    fi
    {
        echo "# The precise method at fine settings (pieces with ln D steps of 0.002,"
        echo "# 400 explicit terms, tail nodes 2 % apart up to term 262144), made by"
        echo "# scripts/make-precise-truths.sh, which also checks it against an independent"
        echo "# finite-difference solution ($2 cells, TR-BDF2 with $3 steps per time unit):"
        echo "# largest difference $(bound "$tmp/$name.truth" "$tmp/$name.check") of the test's bound."
        cat "$tmp/$name.truth"
    } >"$data/$name.csv"
    echo "$name: fine-step precise vs finite differences: $(bound "$tmp/$name.truth" "$tmp/$name.check") of the bound"
done
