#!/usr/bin/env bash
# Crawls a generated site of N pages in English, German and French
# (gen_site_lang.py) with lexicrawl-cli and the matching shipped dictionary:
# first with an empty verdict cache (a fresh data folder), then again with
# the verdicts the first crawl kept. Prints wall time, peak memory and the
# number of unknown words of each crawl, and each language's first-crawl
# time against English's.
#   bench/spelling/crawl_lang_bench.sh [PAGES] [LANGUAGES...]   (default: 300 en de fr)
# Needs python3, /usr/bin/time (GNU) and a built build/bin/lexicrawl-cli.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
cli="${LEXICRAWL_CLI:-$root/build/bin/lexicrawl-cli}"
[ -x "$cli" ] || { echo "build lexicrawl-cli first (scripts/lexicrawl.sh build)" >&2; exit 1; }
for tool in python3 /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 1; }
done
pages="${1:-300}"
shift || true
languages=("${@:-en de fr}")
[ ${#languages[@]} -eq 1 ] && read -r -a languages <<<"${languages[0]}"

declare -A names=([en]="English (United States)" [de]="German (Germany)" [fr]="French (France)")
. "$root/bench/cli/serve.sh"
work=$(mktemp -d)
cleanup() { stop_servers; rm -rf "$work"; }
trap cleanup EXIT

crawl() {  # crawl OUT URL DATA NAME -> sets wall, rss, unknown
  /usr/bin/time -f '%e %M' -o "$1.time" "$cli" crawl "$2" --limit "$pages" --memory --quiet --format csv \
    --data-folder "$3" --dictionary "$4" >"$1.out" 2>"$1.err" || true
  read -r wall rss <"$1.time"
  unknown=$(($(wc -l <"$1.out") - 1))
}

printf '%-9s %-12s %9s %11s %9s %10s\n' language crawl wall_s peak_MiB unknown vs_english
english=
for lang in "${languages[@]}"; do
  site="$work/$lang"
  python3 "$here/gen_site_lang.py" "$pages" "$site" --language "$lang"
  start_server "$site"
  url="http://127.0.0.1:$server_port/site/index.html"
  data="$work/data.$lang"; mkdir -p "$data"
  for run in empty-cache with-cache; do
    crawl "$work/$lang.$run" "$url" "$data" "${names[$lang]}"
    [ "$lang" = en ] && [ "$run" = empty-cache ] && english=$wall
    ratio=$(awk -v a="$wall" -v b="${english:-0}" 'BEGIN{ if (b > 0) printf "%.2f", a / b; else printf "-" }')
    awk -v l="$lang" -v r="$run" -v w="$wall" -v m="$rss" -v u="$unknown" -v q="$ratio" \
      'BEGIN{printf "%-9s %-12s %9.2f %11.1f %9d %10s\n", l, r, w, m/1024, u, q}'
  done
  stop_servers
done
