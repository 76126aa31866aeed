#!/usr/bin/env bash
# Runs every test program of a build folder once as one process (ctest runs one process per
# test; a program of many tests runs as a few shards, each one process). A test that leaves
# process-wide state behind (the log's file or masks, the program folder, a class registry, ...)
# makes a later test in the same process fail here.
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
source "$here/tests/test_env.sh"
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
# A program of many tests runs as shards of about 25 (gtest's own sharding), each shard one
# process: a test still runs after others in its process, and the longest program no longer sets
# the time of the whole run (the screens' program, whose tests draw many frames each, made its
# shards of 50 the longest part of it).
run_one() {
  local program=$1 shard=$2 shards=$3 filter=() out=$1.oneprocess.txt
  [ -n "${skip[$program]:-}" ] && filter=(--gtest_filter="-${skip[$program]}")
  [ "$shards" -gt 1 ] && out=$program.oneprocess.$shard.txt
  if GTEST_TOTAL_SHARDS=$shards GTEST_SHARD_INDEX=$shard \
    ./"$program" --gtest_brief=1 "${filter[@]}" >"$out" 2>&1; then
    local what=""
    [ "$shards" -gt 1 ] && what=", shard $((shard + 1)) of $shards"
    [ ${#filter[@]} -gt 0 ] && what+=", without ${skip[$program]//:/ }"
    echo "ok   $program (one process$what)"
  else
    echo "FAIL $program (one process): see $build/tests/$out"
    tail -n 30 "$out"
    return 1
  fi
}
failed=0
# "<tests> <program>" for every program, the largest first.
plan=$(for program in test_*; do
  [ -x "$program" ] && [ -f "$program" ] || continue
  # The window programs need a display of their own: ctest gives them one (with_display.sh).
  case $program in *_window) continue ;; esac
  filter=()
  [ -n "${skip[$program]:-}" ] && filter=(--gtest_filter="-${skip[$program]}")
  count=$(./"$program" --gtest_list_tests "${filter[@]}" 2>/dev/null | grep -c '^  ')
  echo "${count:-0} $program"
done | sort -rn)
running=0
while read -r count program; do
  [ -n "$program" ] || continue
  shards=$(((count + 24) / 25))
  [ $shards -ge 1 ] || shards=1
  for ((shard = 0; shard < shards; ++shard)); do
    if [ $running -ge "$jobs" ]; then
      wait -n || failed=1
      running=$((running - 1))
    fi
    run_one "$program" $shard $shards &
    running=$((running + 1))
  done
done <<<"$plan"
while [ $running -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
exit $failed
