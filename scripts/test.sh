#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# generates the data, checks the formatting and runs the tests under the sanitizers: each test
# program as a few processes of about 25 tests (scripts/run_test_programs.sh), so that state one
# test leaves behind fails too, and beside them the fuzz replays and the window programs through
# ctest. Then the release build the game ships with runs the whole suite through ctest, one
# process per test, the end-to-end runs of the real program among them. The tests labelled
# "heavy" (whole-venue runs, long runs of frames) and "e2e" (the built game on a virtual display,
# played through its screens) run there only. Benchmarks are built, not run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset asan
cmake --build --preset asan
cmake --build --preset asan --target data
cmake --build --preset asan --target format-check
jobs=${FAIRLARK_TEST_JOBS:-$(nproc 2>/dev/null || echo 4)}
# ctest lists a program's tests the first time it reads the build folder after the program was
# built, and writes the list to a file: list them once, here, before the two halves below read the
# lists side by side (two ctests at once, one read a list while the other was writing it).
ctest --test-dir build/asan -N >/dev/null
# The two halves of the sanitizer run side by side: each is held up by its longest programs, and
# the other fills the cores they leave idle.
ctest --test-dir build/asan --output-on-failure -j "$jobs" --timeout 600 -LE 'heavy|e2e|oneprocess' &
ctest_pid=$!
programs=0
bash scripts/run_test_programs.sh --skip-label heavy build/asan || programs=$?
ctest_status=0
wait $ctest_pid || ctest_status=$?
if [ $programs -ne 0 ] || [ $ctest_status -ne 0 ]; then
  echo "FAIL: the sanitizer run (test programs: $programs, ctest: $ctest_status)"
  exit 1
fi

# The whole suite again on the release build the game ships with (its flags, tests added), each
# test in a process of its own: the sanitizer's allocator fills new memory, which hides reads of
# bytes nothing wrote, and a test that passes only after another shows here. The heavy and the
# end-to-end tests run here only: under the sanitizers their frames come several times slower, and
# the code they drive runs under the sanitizers in the test programs above.
cmake --preset release-tests
cmake --build --preset release-tests
cmake --build --preset release-tests --target data
ctest --test-dir build/release-tests --output-on-failure -j "$jobs" --timeout 600
