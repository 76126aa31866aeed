#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# generates the data, checks the formatting and runs every test: once per test through ctest,
# then each test program once more as one process, so that state one test leaves behind fails
# too. The tests labelled "heavy" (whole-venue runs, long runs of frames) are left out there and
# run in the release build's run. Benchmarks are built, not run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset asan
cmake --build --preset asan
cmake --build --preset asan --target data
cmake --build --preset asan --target format-check
jobs=${FAIRLARK_TEST_JOBS:-$(nproc 2>/dev/null || echo 4)}
ctest --test-dir build/asan --output-on-failure -j "$jobs" --timeout 600 -LE heavy
bash scripts/run_test_programs.sh --skip-label heavy build/asan

# The whole suite again on the release build the game ships with (its flags, tests added): the
# sanitizer's allocator fills new memory, which hides reads of bytes nothing wrote. The heavy
# tests run here only.
cmake --preset release-tests
cmake --build --preset release-tests
cmake --build --preset release-tests --target data
ctest --test-dir build/release-tests --output-on-failure -j "$jobs" --timeout 600
