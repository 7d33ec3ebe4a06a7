#!/usr/bin/env bash
# What the word groups cost against the crawl they come from, on one site:
# crawls it once and saves the project, then times (medians of RUNS with
# farm-bench) the crawl that prints the groups (--format json) against the
# same crawl without them (--format csv), and the grouping of the saved
# project's words alone (group_bench: opening and loading the dictionaries
# untimed).
#   bench/typos/group_cost.sh [SITE_DIR START [MODE [RUNS]]]
# Default: a 600-page site of bench/cli/gen_site.py, prose mode, 5 runs.
# GROUP_COST_DELAY_MS=N makes every answer of the server wait N ms (a site
# that is not on this machine).
# SITE_DIR START: a folder served from 127.0.0.1 and the start page's path
# in it (for instance a copy kept by typo_bench.sh: DIR/planted/www
# sqlite/index.html).
# Needs: python3, farm-bench, a built build/bin/lexicrawl-cli and build/bench/group_bench.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
cli="${LEXICRAWL_CLI:-$root/build/bin/lexicrawl-cli}"
grouper="${GROUP_BENCH:-$root/build/bench/group_bench}"
mode="${3:-prose}"
runs="${4:-5}"
for tool in "$cli" "$grouper"; do
  [ -x "$tool" ] || { echo "build $tool first (cmake --build build --target lexicrawl-cli group_bench)" >&2; exit 1; }
done
command -v farm-bench >/dev/null || { echo "missing farm-bench" >&2; exit 1; }

. "$root/bench/cli/serve.sh"
work=$(mktemp -d)
cleanup() { stop_servers; rm -rf "$work"; }
trap cleanup EXIT

if [ $# -ge 2 ]; then
  site="$1"; start="$2"
else
  python3 "$root/bench/cli/gen_site.py" 600 "$work/gen" >/dev/null
  site="$work/gen"; start="site/index.html"
fi
start_server "$site" "${GROUP_COST_DELAY_MS:-0}"
url="http://127.0.0.1:$server_port/$start"
mkdir -p "$work/data"
# One script per crawl, so that the dictionary's name needs no quoting in farm-bench's --vs.
cat >"$work/crawl.sh" <<SH
exec "$cli" crawl "$url" --limit 5000 --quiet --text "$mode" --data-folder "$work/data" \\
  --dictionary "English (United States)" --format "\$1" \${2:+--save "\$2"} >/dev/null
SH

bash "$work/crawl.sh" csv "$work/project.db"
echo "== crawl with the groups (--format json) vs without (--format csv), $mode mode"
farm-bench -n "$runs" --timeout 1800 --vs "bash $work/crawl.sh csv" -- bash "$work/crawl.sh" json
echo "== grouping of the saved project's words alone"
"$grouper" "$work/project.db" "$runs"
