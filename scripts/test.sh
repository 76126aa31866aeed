#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# generates the data, checks the formatting and runs every test: once per test through ctest,
# then each test program once more as one process, so that state one test leaves behind fails
# too. Benchmarks are built, not run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset asan
cmake --build --preset asan
cmake --build --preset asan --target data
cmake --build --preset asan --target format-check
jobs=${FAIRLARK_TEST_JOBS:-$(nproc 2>/dev/null || echo 4)}
ctest --test-dir build/asan --output-on-failure -j "$jobs" --timeout 600
bash scripts/run_test_programs.sh build/asan
