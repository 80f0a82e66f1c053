#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang in build-fuzz/ and runs each
# for a while, starting from its seeds in fuzz/corpus/<target>/. What a run
# adds to the corpus stays in build-fuzz/corpus/<target>/ (not in the repo).
#
#   scripts/fuzz.sh [SECONDS [TARGET...]]   default: 3 s each, every target
#
# A finding stops the run: the fuzzer's report is printed, the input that
# caused it is saved in build-fuzz/ (crash-*, leak-*, timeout-*), and the
# script fails. It prints one line per target: executions, corpus size.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-3}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(cipher macro_stream key_matrix dpi key_translation listener_report cli_args files)

cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DSTRYDE_FUZZ=ON >/dev/null
cmake --build build-fuzz --target stryde_fuzzers -j "$(nproc)"

for t in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$t"
  log="build-fuzz/fuzz_$t.log"
  mkdir -p "$corpus"
  # The JavaScript engine keeps its garbage-collected heap out of the leak
  # checker's sight: that target runs without leak checks.
  leaks=1
  [ "$t" = macro_stream ] && leaks=0
  if ! ASAN_OPTIONS="detect_leaks=$leaks" QT_QPA_PLATFORM=offscreen \
       "build-fuzz/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
       -print_final_stats=1 -artifact_prefix=build-fuzz/ "$corpus" "fuzz/corpus/$t" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz_$t: FINDING (log: $log)" >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  files=$(find "$corpus" -type f | wc -l)
  bytes=$(find "$corpus" -type f -printf '%s\n' | awk '{s += $1} END {print s + 0}')
  printf 'fuzz_%-16s %10s runs in %ss, corpus %s inputs (%s bytes)\n' "$t" "$runs" "$seconds" "$files" "$bytes"
done
