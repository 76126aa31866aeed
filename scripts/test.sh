#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# generates the data, checks the formatting and runs every test under the sanitizers: the
# end-to-end runs, the fuzz replays and the window programs through ctest, and each test program
# as a few processes of about 50 tests (scripts/run_test_programs.sh), so that state one test
# leaves behind fails too. Then the release build the game ships with runs the whole suite
# through ctest, one process per test. The tests labelled "heavy" (whole-venue runs, long runs of
# frames) run there only. Benchmarks are built, not run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset asan
cmake --build --preset asan
cmake --build --preset asan --target data
cmake --build --preset asan --target format-check
jobs=${FAIRLARK_TEST_JOBS:-$(nproc 2>/dev/null || echo 4)}
ctest --test-dir build/asan --output-on-failure -j "$jobs" --timeout 600 -LE 'heavy|oneprocess'
bash scripts/run_test_programs.sh --skip-label heavy build/asan

# The whole suite again on the release build the game ships with (its flags, tests added), each
# test in a process of its own: the sanitizer's allocator fills new memory, which hides reads of
# bytes nothing wrote, and a test that passes only after another shows here. The heavy tests run
# here only.
cmake --preset release-tests
cmake --build --preset release-tests
cmake --build --preset release-tests --target data
ctest --test-dir build/release-tests --output-on-failure -j "$jobs" --timeout 600
