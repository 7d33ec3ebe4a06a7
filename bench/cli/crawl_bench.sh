#!/usr/bin/env bash
# Crawls a synthetic site of N pages with lexicrawl-cli and, on the same site,
# runs the pipeline a maintainer would otherwise use (wget2 mirroring the site,
# then hunspell -H -l over the files). Prints pages per second, peak memory and
# the ratio of the two wall times.
#   bench/cli/crawl_bench.sh [PAGES ...]        (default: 1000 10000)
# Needs: python3, wget2, hunspell, hunspell-en-us, a built build/bin/lexicrawl-cli.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
cli="${LEXICRAWL_CLI:-$root/build/bin/lexicrawl-cli}"
[ -x "$cli" ] || { echo "build lexicrawl-cli first (scripts/lexicrawl.sh build)" >&2; exit 1; }
for tool in python3 wget2 hunspell /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing $tool: apt-get install python3 wget2 hunspell time" >&2; exit 1; }
done

. "$root/bench/cli/serve.sh"
work=$(mktemp -d)
cleanup() { stop_servers; rm -rf "$work"; }
trap cleanup EXIT

measure() {  # measure OUT_PREFIX CMD... -> sets wall, rss
  /usr/bin/time -f '%e %M' -o "$1.time" "${@:2}" >"$1.out" 2>"$1.err" || true
  read -r wall rss <"$1.time"
}

printf '%-7s %-12s %9s %9s %11s %9s\n' pages tool wall_s pages/s peak_MiB unknown
for pages in "${@:-1000 10000}"; do
  for n in $pages; do
    site="$work/site$n"
    python3 "$here/gen_site.py" "$n" "$site"
    start_server "$site"
    url="http://127.0.0.1:$server_port/site/index.html"

    data="$work/data$n"; mkdir -p "$data"
    measure "$work/lc$n" "$cli" crawl "$url" --limit "$n" --memory --quiet --format csv \
      --data-folder "$data" --dictionary "English (United States)"
    lc_wall=$wall; lc_rss=$rss
    lc_words=$(($(wc -l <"$work/lc$n.out") - 1))

    mirror="$work/mirror$n"
    measure "$work/wg$n" sh -c "wget2 -q -r -l inf -np --max-threads=2 -P '$mirror' '$url'; \
      find '$mirror' -name '*.html' -print0 | xargs -0 hunspell -d /usr/share/hunspell/en_US -H -l | sort -u"
    wg_wall=$wall; wg_rss=$rss
    wg_words=$(wc -l <"$work/wg$n.out")

    stop_servers

    awk -v n="$n" -v w="$lc_wall" -v m="$lc_rss" -v u="$lc_words" \
      'BEGIN{printf "%-7d %-12s %9.2f %9.1f %11.1f %9d\n", n, "lexicrawl", w, n/(w>0?w:0.01), m/1024, u}'
    awk -v n="$n" -v w="$wg_wall" -v m="$wg_rss" -v u="$wg_words" \
      'BEGIN{printf "%-7d %-12s %9.2f %9.1f %11.1f %9d\n", n, "wget2+hunspell", w, n/(w>0?w:0.01), m/1024, u}'
    awk -v a="$lc_wall" -v b="$wg_wall" 'BEGIN{printf "        ratio lexicrawl/pipeline wall time: %.2f\n", a/(b>0?b:0.01)}'
  done
done
