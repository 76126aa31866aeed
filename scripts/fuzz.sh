#!/usr/bin/env bash
# Fuzzing campaigns: builds the fuzz preset (clang, libFuzzer, ASan + UBSan) and runs the fuzz
# targets in parallel, one per core, each for the given number of seconds. Each target grows its
# corpus in build/fuzz-corpus/<target>/ (not in git), starting from its hand-made seeds, the seeds
# copied from the generated data and its regression inputs; crashing, leaking, hanging or
# out-of-memory inputs land in build/fuzz-artifacts/<target>/. Prints per target the executions,
# the final coverage (cov:, ft:) and any finding; fails when there is one.
#
#   scripts/fuzz.sh [seconds per target (300)] [target...]     (targets: IniReader, DdsFile, ...)
#
# FAIRLARK_FUZZ_JOBS sets how many targets run at once (default: the number of cores). A finding
# is minimised with: build/fuzz/tests/fuzz/fuzz_<target> -minimize_crash=1 -runs=10000 <input>
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-300}
shift || true
jobs=${FAIRLARK_FUZZ_JOBS:-$(nproc 2>/dev/null || echo 2)}

bash scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

bin=build/fuzz/tests/fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$bin"/fuzz_*; do
    [ -x "$f" ] && [ -f "$f" ] && targets+=("${f##*/fuzz_}")
  done
fi

# The dictionary of a target's format.
dict_of() {
  case "$1" in
    IniReader | VarTable | PropDb | EntIniLoader) echo ini ;;
    DdsFile | TexLoad | D3dxCubeTexture) echo dds ;;
    ImageTga) echo tga ;;
    GM_* | giGmModel | giSkeleton | giAnimation) echo gmf ;;
    giXmlValue) echo xml ;;
    SndBuffer) echo wav ;;
    SndStream) echo ogg ;;
  esac
}

source tests/test_env.sh

run_one() {
  local t=$1 corpus=build/fuzz-corpus/$1 artifacts=build/fuzz-artifacts/$1/
  mkdir -p "$corpus" "$artifacts"
  local args=(-max_total_time="$seconds" -rss_limit_mb=1024 -timeout=5 -close_fd_mask=3
    -print_final_stats=1 -artifact_prefix="$artifacts")
  local d
  d=$(dict_of "$t")
  [ -n "$d" ] && args+=(-dict="tests/fuzz/dict/$d.dict")
  local dirs=("$corpus")
  for extra in "tests/fuzz/seeds/$t" "build/fuzz/fuzz-seeds/$t" "tests/fuzz/regressions/$t"; do
    [ -d "$extra" ] && dirs+=("$extra")
  done
  "$bin/fuzz_$t" "${args[@]}" "${dirs[@]}" >"build/fuzz-artifacts/$t.log" 2>&1 || true
}

mkdir -p build/fuzz-artifacts
running=0
for t in "${targets[@]}"; do
  if [ ! -x "$bin/fuzz_$t" ]; then
    echo "fuzz: no target $t" >&2
    exit 2
  fi
  rm -f "build/fuzz-artifacts/$t/"{crash,leak,timeout,oom}-* 2>/dev/null || true
  run_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n
    running=$((running - 1))
  fi
done
wait

failed=0
printf '%-18s %12s %8s %8s %8s  %s\n' target executions exec/s cov ft findings
for t in "${targets[@]}"; do
  log=build/fuzz-artifacts/$t.log
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  findings=$(find "build/fuzz-artifacts/$t" -maxdepth 1 -type f \
    \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | sort)
  printf '%-18s %12s %8s %8s %8s  %s\n' "$t" "${execs:-?}" "${rate:-?}" "${cov:-?}" "${ft:-?}" \
    "$(echo "$findings" | tr '\n' ' ')"
  if [ -n "$findings" ] || ! grep -q '^stat::number_of_executed_units' "$log"; then
    failed=1
    echo "  see $log" >&2
  fi
done
exit $failed
