#!/usr/bin/env bash
# Builds the libFuzzer programs with clang and runs each for a bounded time
# (seconds, default 60) on its seed corpus. Inputs that make a target fail
# are kept in fuzz/regressions/TARGET/, which the test suite replays: commit
# them with the fix.
# Usage: bash scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
TORVANE_EXTRA_PACKAGES="clang libfuzzer-14-dev" source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(PointFile LeadingNumber Dms Pattern Drawing Project)

cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTORVANE_FUZZ=ON -DTORVANE_BUILD_APP=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]/#/fuzz-}"
status=0
for t in "${targets[@]}"; do
  work=build-fuzz/corpus/$t
  mkdir -p "$work" "fuzz/regressions/$t"
  echo "== $t: ${seconds} s"
  # New inputs go to the work corpus; the committed seeds are only read.
  if ! build-fuzz/fuzz/fuzz-$t -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="fuzz/regressions/$t/" "$work" "fuzz/corpus/$t" 2>build-fuzz/$t.log; then
    status=1
    tail -30 "build-fuzz/$t.log"
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "build-fuzz/$t.log" || true
done
exit $status
