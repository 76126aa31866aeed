#!/usr/bin/env bash
# Runs every test program of a build folder once as one process (ctest runs one process per
# test). A test that leaves process-wide state behind (the log's file or masks, the program
# folder, a class registry, ...) makes a later test in the same program fail here.
# Usage: run_test_programs.sh <build folder>     e.g. build/asan
set -uo pipefail
build=$1
here=$(cd "$(dirname "$0")/.." && pwd)
export FAIRLARK_HEADLESS=1 ALSOFT_DRIVERS=null EGL_PLATFORM=surfaceless LIBGL_ALWAYS_SOFTWARE=1 \
  LP_NUM_THREADS=0 MESA_SHADER_CACHE_DISABLE=true SDL_AUDIODRIVER=dummy \
  LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
unset DISPLAY WAYLAND_DISPLAY
cd "$build/tests" || exit 1
failed=0
for program in test_*; do
  [ -x "$program" ] && [ -f "$program" ] || continue
  # The window programs need a display of their own: ctest runs them under xvfb-run.
  case $program in *_window) continue ;; esac
  if ./"$program" --gtest_brief=1 >"$program.oneprocess.txt" 2>&1; then
    echo "ok   $program (one process)"
  else
    echo "FAIL $program (one process): see $build/tests/$program.oneprocess.txt"
    tail -n 30 "$program.oneprocess.txt"
    failed=1
  fi
done
exit $failed
