#!/usr/bin/env bash
# Builds the libFuzzer targets in their own folder and runs each for a
# bounded time on a copy of the seed corpus.
#   fuzz/run.sh [seconds per target, default 60]
# Crashes are left in build-fuzz/artifacts/ (reproduce with
# build-fuzz/<target> <file>).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
build="${LEXICRAWL_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-60}"

command -v clang++ >/dev/null || { echo "run.sh: clang++ is missing (Debian packages clang, libclang-rt-14-dev)" >&2; exit 1; }
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel 2

mkdir -p "$build/artifacts"
status=0
for target in zip_read_fuzzer:zip oxt_parser_fuzzer:xml; do
  name=${target%%:*}
  seeds=${target##*:}
  work="$build/corpus-$seeds"
  mkdir -p "$work"
  cp -n "$here/corpus/$seeds"/* "$work/" 2>/dev/null || true
  echo "==> $name for ${seconds}s"
  if ! "$build/$name" "$work" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
        -artifact_prefix="$build/artifacts/$name-" -print_final_stats=1 2>"$build/$name.log"; then
    echo "$name found a problem; see $build/$name.log and $build/artifacts/" >&2
    status=1
  fi
  tail -n 12 "$build/$name.log"
done
exit $status
