#!/usr/bin/env bash
# How well the word groups find typos: copies HTML documentation that Debian
# ships (several sites), plants one-edit typos into their prose with a fixed
# seed (plant_typos.py), serves the copies from 127.0.0.1, crawls each site
# with lexicrawl-cli and counts the planted typos in "Likely typos" (recall)
# and the size of the likely list; then the same on the copies without
# planted typos (what the list holds there is noise a user must read).
# Recall counts the typos planted on pages the crawl reached. Grouping cost:
# the wall time of the crawl that prints the groups (--format json) less that
# of the same crawl without them (--format csv), set against the latter; it
# includes loading the dictionaries the groups ask (the other region's, the
# other languages').
#   bench/typos/typo_bench.sh [TYPOS] [SEED] [MODE]     (default: 300 1 prose)
# TYPO_BENCH_DELAY_MS=100 makes every answer of the server wait (a distant
# site), for the cost against a crawl of realistic length.
# Needs: python3, GNU time, a built build/bin/lexicrawl-cli, and the packages
# sqlite3-doc git-doc debian-reference-en developers-reference maint-guide
# (apt-get install them; the bench skips a site whose package is missing).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
cli="${LEXICRAWL_CLI:-$root/build/bin/lexicrawl-cli}"
typos="${1:-300}"
seed="${2:-1}"
mode="${3:-prose}"
[ -x "$cli" ] || { echo "build lexicrawl-cli first (scripts/lexicrawl.sh build)" >&2; exit 1; }
command -v /usr/bin/time >/dev/null || { echo "missing GNU time: apt-get install time" >&2; exit 1; }
export LEXICRAWL_CLI="$cli"

sites=()
add_site() {  # NAME FOLDER START PACKAGE
  if [ -f "$2/$3" ]; then sites+=("$1=$2:$3"); else echo "skipping $1: apt-get install $4" >&2; fi
}
add_site sqlite /usr/share/doc/sqlite3 index.html sqlite3-doc
add_site git /usr/share/doc/git-doc index.html git-doc
add_site reference /usr/share/debian-reference index.en.html debian-reference-en
add_site developers /usr/share/developers-reference index.html developers-reference
add_site maint /usr/share/doc/maint-guide/html index.en.html maint-guide
[ ${#sites[@]} -ge 2 ] || { echo "fewer than two documentation sites installed; skipping" >&2; exit 0; }

. "$root/bench/cli/serve.sh"
work=$(mktemp -d)
# TYPO_BENCH_KEEP=1 keeps the copies, projects and lists for a look.
cleanup() {
  stop_servers
  if [ -n "${TYPO_BENCH_KEEP:-}" ]; then echo "kept in $work" >&2; else rm -rf "$work"; fi
}
trap cleanup EXIT

run_copy() {  # NAME COUNT
  local copy="$work/$1"
  mkdir -p "$copy/data"
  python3 "$here/plant_typos.py" "$copy/www" "$2" "$seed" "${sites[@]}"
  start_server "$copy/www" "${TYPO_BENCH_DELAY_MS:-0}"
  local port=$server_port
  while IFS=$'\t' read -r name start pages; do
    for format in csv json; do
      /usr/bin/time -f '%e' -o "$copy/$name.${format}_s" "$cli" crawl "http://127.0.0.1:$port/$name/$start" \
        --limit 5000 --quiet --text "$mode" --format "$format" --data-folder "$copy/data" \
        --dictionary "English (United States)" --save "$copy/$name.$format.db" >"$copy/$name.$format" || true
    done
  done <"$copy/www/sites.tsv"
}
run_copy planted "$typos"
run_copy clean 0

python3 - "$work" "$mode" <<'PY'
import json, sys
work, mode = sys.argv[1], sys.argv[2]

def read(copy):
    sites = [line.rstrip("\n").split("\t") for line in open(f"{work}/{copy}/www/sites.tsv")]
    planted = [line.rstrip("\n").split("\t") for line in open(f"{work}/{copy}/www/planted.tsv", encoding="utf-8")]
    rows = []
    for name, _, pages in sites:
        report = json.load(open(f"{work}/{copy}/{name}.json", encoding="utf-8"))
        words = report["unknownWords"]
        reached = {p["url"].split("/", 3)[3] for p in report["pages"] if not p["failed"] and p["url"].count("/") >= 3}
        mine = {typo for typo, _, page in planted if page.split("/")[0] == name and page in reached}
        likely = {w["word"].lower() for w in words if w["group"] == "likely typo"}
        t = lambda k: float(open(f"{work}/{copy}/{name}.{k}_s").read().split()[-1])
        rows.append(dict(name=name, pages=len(reached), unknown=len(words), likely=len(likely),
                         planted=len(mine), found=len(mine & likely),
                         crawl=t("csv"), group=max(0.0, t("json") - t("csv"))))
    return rows

for copy in ("planted", "clean"):
    rows = read(copy)
    print(f"{copy} copy, {mode} mode")
    print(f"{'site':11} {'reached':>7} {'unknown':>8} {'planted':>8} {'in likely':>10} {'likely':>7} "
          f"{'crawl_s':>8} {'group_s':>8}")
    for r in rows:
        print(f"{r['name']:11} {r['pages']:7} {r['unknown']:8} {r['planted']:8} {r['found']:10} {r['likely']:7} "
              f"{r['crawl']:8.2f} {r['group']:8.2f}")
    total = {k: sum(r[k] for r in rows) for k in ("pages", "unknown", "planted", "found", "likely", "crawl", "group")}
    print(f"{'all':11} {total['pages']:7} {total['unknown']:8} {total['planted']:8} {total['found']:10} "
          f"{total['likely']:7} {total['crawl']:8.2f} {total['group']:8.2f}")
    if total["planted"]:
        print(f"recall {100.0 * total['found'] / total['planted']:.1f}%, likely list "
              f"{total['likely'] / total['planted']:.2f} x planted")
    print(f"grouping / crawl time: {total['group'] / total['crawl']:.3f}")
    print()
PY
