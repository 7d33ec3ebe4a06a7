#!/usr/bin/env bash
# Suggestions for every unknown word of a crawl, against the crawl itself:
# writes a documentation-like site of N pages (gen_docs_site.py), serves it
# from 127.0.0.1, crawls it with lexicrawl-cli (exporting the unknown words),
# then runs the suggestion benchmark on those words: the time for all their
# suggestions (the engine's build included, on two threads) beside the
# crawl's wall time, and how often the first suggestion is the spelling
# engine's first (which takes minutes: COMPARE=N compares the first N words).
#   bench/cli/suggestion_bench.sh [PAGES]        (default: 600)
# Needs: python3, hunspell-en-us, a built build/bin/lexicrawl-cli and
# build/bench/suggestion_bench.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
cli="${LEXICRAWL_CLI:-$root/build/bin/lexicrawl-cli}"
bench="$root/build/bench/suggestion_bench"
[ -x "$cli" ] && [ -x "$bench" ] || { echo "build lexicrawl-cli and suggestion_bench first" >&2; exit 1; }
pages="${1:-600}"

. "$root/bench/cli/serve.sh"
work=$(mktemp -d)
cleanup() { stop_servers; rm -rf "$work"; }
trap cleanup EXIT

python3 "$here/gen_docs_site.py" "$pages" "$work/site"
start_server "$work/site"
url="http://127.0.0.1:$server_port/site/index.html"
mkdir -p "$work/data"

start=$(date +%s.%N)
"$cli" crawl "$url" --limit "$pages" --memory --quiet --format csv --data-folder "$work/data" \
  --dictionary "English (United States)" --export-words "$work/words.txt" >/dev/null
end=$(date +%s.%N)
crawl_ms=$(awk -v a="$start" -v b="$end" 'BEGIN{printf "%d", (b-a)*1000}')
echo "crawl of $pages pages: $crawl_ms ms, $(($(wc -l <"$work/words.txt"))) unknown words"
"$bench" "$work/words.txt" "$root/build/bin/Dictionaries/en_US.oxt" 2 "${COMPARE:-1000000}"
