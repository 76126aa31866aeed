#!/usr/bin/env bash
# Runs every test program of a build folder once as one process (ctest runs one process per
# test). A test that leaves process-wide state behind (the log's file or masks, the program
# folder, a class registry, ...) makes a later test in the same program fail here.
# Usage: run_test_programs.sh [--skip-label LABEL] <build folder>     e.g. build/asan
# --skip-label leaves out the tests ctest lists under LABEL (the sanitizer run's "heavy" ones).
# The programs run side by side, FAIRLARK_TEST_JOBS (else one per core) at a time.
set -uo pipefail
skip_label=
if [ "${1:-}" = --skip-label ]; then
  skip_label=$2
  shift 2
fi
build=$1
here=$(cd "$(dirname "$0")/.." && pwd)
export FAIRLARK_HEADLESS=1 ALSOFT_DRIVERS=null EGL_PLATFORM=surfaceless LIBGL_ALWAYS_SOFTWARE=1 \
  LP_NUM_THREADS=0 MESA_SHADER_CACHE_DISABLE=true SDL_AUDIODRIVER=dummy \
  LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:intercept_tls_get_addr=0"
unset DISPLAY WAYLAND_DISPLAY
jobs=${FAIRLARK_TEST_JOBS:-$(nproc 2>/dev/null || echo 4)}

# The skipped tests of each program ("<program>.<Suite>.<Test>" in ctest's names), as one
# negative gtest filter per program.
declare -A skip
if [ -n "$skip_label" ]; then
  listed=$(ctest --test-dir "$build" -N -L "$skip_label") || {
    echo "FAIL: ctest cannot list the tests labelled $skip_label"
    exit 1
  }
  while read -r name; do
    program=test_${name%%.*}
    skip[$program]+="${skip[$program]:+:}${name#*.}"
  done < <(sed -n 's/^ *Test *#[0-9]*: //p' <<<"$listed")
fi

cd "$build/tests" || exit 1
run_one() {
  local program=$1 filter=()
  [ -n "${skip[$program]:-}" ] && filter=(--gtest_filter="-${skip[$program]}")
  if ./"$program" --gtest_brief=1 "${filter[@]}" >"$program.oneprocess.txt" 2>&1; then
    echo "ok   $program (one process${filter:+, without ${skip[$program]//:/ }})"
  else
    echo "FAIL $program (one process): see $build/tests/$program.oneprocess.txt"
    tail -n 30 "$program.oneprocess.txt"
    return 1
  fi
}
failed=0
running=0
for program in test_*; do
  [ -x "$program" ] && [ -f "$program" ] || continue
  # The window programs need a display of their own: ctest runs them under xvfb-run.
  case $program in *_window) continue ;; esac
  if [ $running -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  run_one "$program" &
  running=$((running + 1))
done
while [ $running -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
exit $failed
