#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in a build folder of their own and runs each for
# FUZZ_SECONDS (FUZZ_PARALLEL of them at a time), starting from its seeds in fuzz/corpus/<target>/. The corpus
# grows in a copy in the build folder, never in the repository. Prints "fuzz_executions <target>: <n>" for
# each target and "fuzz_executions_total: <n>"; exits 1 when a target found a crash, a hang or a sanitizer
# report; its input is then in <build>/fuzz-artifacts/<target>/ and its report in <build>/fuzz-logs/.
#   scripts/fuzz.sh [build folder]      (default build-fuzz)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-fuzz}
# 160 s each, two at a time, make some 1.2e7 executions in all on two cores in 14 minutes.
seconds=${FUZZ_SECONDS:-160}
parallel=${FUZZ_PARALLEL:-$(nproc)}
llvm=/usr/lib/llvm-19/bin

if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang-19 CXX=clang++-19 cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_FUZZ=ON
fi
cmake --build "$build" -j "$(nproc)"

export ASAN_SYMBOLIZER_PATH=$llvm/llvm-symbolizer
targets=()
for source in "$root"/fuzz/fuzz_*.cpp; do
  name=$(basename "$source" .cpp)
  targets+=("${name#fuzz_}")
done

run_target() {
  local name=$1
  local corpus=$build/fuzz-corpus/$name artifacts=$build/fuzz-artifacts/$name
  mkdir -p "$corpus" "$artifacts" "$build/fuzz-logs"
  local seed
  for seed in "$root/fuzz/corpus/$name"/*; do
    [ -e "$corpus/$(basename "$seed")" ] || cp "$seed" "$corpus/"
  done
  # -timeout: an input that takes 10 s is a hang and is reported as one.
  local rc=0
  "$build/bin/fuzz_$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" >"$build/fuzz-logs/$name.log" 2>&1 || rc=$?
  echo "$rc" >"$build/fuzz-logs/$name.rc"
}

echo "Fuzzing ${#targets[@]} targets for $seconds s each, $parallel at a time"
for name in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do
    wait -n
  done
  run_target "$name" &
done
wait

status=0
total=0
for name in "${targets[@]}"; do
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/fuzz-logs/$name.log" | tail -n 1)
  executions=${executions:-0}
  echo "fuzz_executions $name: $executions"
  total=$((total + executions))
  if [ "$(cat "$build/fuzz-logs/$name.rc")" -ne 0 ]; then
    echo "  $name found a fault: see $build/fuzz-logs/$name.log and $build/fuzz-artifacts/$name/" >&2
    status=1
  fi
done
echo "fuzz_executions_total: $total"
exit "$status"
