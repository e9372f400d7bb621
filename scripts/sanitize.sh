#!/usr/bin/env bash
# Builds and runs the tests under the sanitizers, each in its own build folder:
#   build-asan/  AddressSanitizer (with leak checks) and UndefinedBehaviorSanitizer,
#                the whole test suite
#   build-tsan/  ThreadSanitizer, the widget-free code and its tests (but the
#                OpenMP batch and the search on every core and across MPI
#                ranks, whose barriers it cannot see)
# Any finding fails the run. Findings inside libraries that are not ours are
# suppressed in scripts/sanitizers/*.supp, each entry with its reason.
# Usage: scripts/sanitize.sh [asan|tsan]   (both when no argument is given)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
supp="$root/scripts/sanitizers"
jobs="$(nproc)"
[ "$jobs" -gt 2 ] && jobs=2 # sanitizer builds are heavy; stay polite on shared machines
which="${1:-all}"

bash "$root/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen

# configure_and_build DIR SANITIZER_FLAGS [CMAKE_ARGS...]
configure_and_build() {
  local dir="$1" flags="$2"
  shift 2
  cmake -S "$root" -B "$root/$dir" -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g -fno-omit-frame-pointer $flags" \
        -DCMAKE_EXE_LINKER_FLAGS="$flags" "$@" >/dev/null
  nice -n 10 cmake --build "$root/$dir" -j"$jobs"
}

run_tests() { # run_tests DIR [CTEST_ARGS...]
  ctest --test-dir "$root/$1" --output-on-failure -j"$jobs" "${@:2}"
}

if [ "$which" = all ] || [ "$which" = asan ]; then
  echo "== AddressSanitizer + UndefinedBehaviorSanitizer: build-asan/"
  configure_and_build build-asan \
    "-fsanitize=address,undefined -fno-sanitize-recover=undefined" -DTARVEL_WIDGETS=ON
  export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1:check_initialization_order=1"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
  export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
  run_tests build-asan
  unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS
fi

if [ "$which" = all ] || [ "$which" = tsan ]; then
  echo "== ThreadSanitizer: build-tsan/ (no widget code)"
  configure_and_build build-tsan "-fsanitize=thread" -DTARVEL_WIDGETS=OFF
  # history_size=7: the longest access history, so that the stacks of both sides
  # of a report are restored and the suppressions can match them.
  export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:history_size=7:suppressions=$supp/tsan.supp"
  # test_batch is left out: its threads are OpenMP's, whose barriers the
  # sanitizer cannot see (libgomp is not instrumented), so every one of the
  # batch's shared results would be reported and then suppressed by tsan.supp:
  # many minutes that check nothing. AddressSanitizer still runs it.
  # The same holds for the search's runner on one and two cores and for the
  # comparison with two MPI ranks (each rank on all its cores, and Open MPI's
  # own threads are not instrumented either). The search's stop and progress
  # counters, read from another thread as a window reads them, are checked
  # here in test_search_engine.
  run_tests build-tsan -E '^(test_batch|test_search_runner|test_mpi_search)$'
  unset TSAN_OPTIONS
fi
echo "sanitizers: no findings"
