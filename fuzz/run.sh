#!/usr/bin/env bash
# Builds the libFuzzer targets (every library with AddressSanitizer and
# UndefinedBehaviorSanitizer) in their own folder and runs them, one at a
# time, each on a copy of its seed corpus.
#
#   fuzz/run.sh [SECONDS] [TARGET...]
#
# SECONDS bounds each target (default 20); a target also stops after
# LEXICRAWL_FUZZ_RUNS executions when that is set. Without TARGET names every
# target runs. Findings are left in build-fuzz/artifacts/ and reproduce with
#   build-fuzz/fuzz/<target> build-fuzz/artifacts/<file>
# The build folder is build-fuzz/ (LEXICRAWL_FUZZ_BUILD_DIR to change it).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
build="${LEXICRAWL_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-20}"
shift || true

# target:seed folder
all_targets=(
  zip_read_fuzzer:zip oxt_parser_fuzzer:xml anchor_scanner_fuzzer:anchors link_processor_fuzzer:links
  charset_fuzzer:charset page_parse_fuzzer:page settings_fuzzer:settings language_fuzzer:language
  cli_options_fuzzer:cli document_text_fuzzer:documents robots_rules_fuzzer:robots sitemap_reader_fuzzer:sitemaps
)

command -v clang++ >/dev/null || { echo "run.sh: clang++ is missing (Debian packages clang, libclang-rt-14-dev)" >&2; exit 1; }
# Programs run while building (the template database) must not fail on leaks.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLEXICRAWL_BUILD_FUZZ=ON -DLEXICRAWL_BUILD_TESTS=OFF \
    -DLEXICRAWL_BUILD_BENCH=OFF >/dev/null
fi
names=()
for t in "${all_targets[@]}"; do names+=("${t%%:*}"); done
cmake --build "$build" --parallel 2 --target "${names[@]}"

# The fuzzers' own allocations are bounded by -rss_limit_mb; a small
# quarantine keeps the sanitizer's bookkeeping from dominating it.
export ASAN_OPTIONS="detect_leaks=0:quarantine_size_mb=64:malloc_context_size=10"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
runs=()
[ -n "${LEXICRAWL_FUZZ_RUNS:-}" ] && runs=(-runs="$LEXICRAWL_FUZZ_RUNS")
mkdir -p "$build/artifacts"
status=0
for t in "${all_targets[@]}"; do
  name=${t%%:*}
  seeds=${t##*:}
  if [ $# -gt 0 ] && [[ " $* " != *" $name "* ]]; then continue; fi
  work="$build/corpus/$name"
  mkdir -p "$work"
  cp -n "$here/corpus/$seeds"/* "$work/" 2>/dev/null || true
  echo "==> $name for at most ${seconds}s"
  if ! "$build/fuzz/$name" "$work" -max_total_time="$seconds" "${runs[@]}" -max_len=65536 -rss_limit_mb=2048 \
        -timeout=25 -artifact_prefix="$build/artifacts/$name-" -print_final_stats=1 2>"$build/$name.log"; then
    echo "$name found a problem; see $build/$name.log and $build/artifacts/" >&2
    status=1
  fi
  grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb)|^Done|^==[0-9]+==ERROR|^invariant failed" "$build/$name.log" || true
done
exit $status
