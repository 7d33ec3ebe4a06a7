#!/usr/bin/env bash
# Compares the two text modes of lexicrawl-cli with hunspell -H -l on a
# documentation-like site of N pages with typos planted in its prose
# (gen_prose_site.py): for each, the planted typos found and the number of
# other unknown words (distinct, forms that differ only in case counted once),
# and the crawl's wall time per mode.
#   bench/cli/prose_bench.sh [PAGES] [SEED]        (default: 300 1)
# Needs: python3, hunspell, hunspell-en-us, GNU time, a built build/bin/lexicrawl-cli.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
cli="${LEXICRAWL_CLI:-$root/build/bin/lexicrawl-cli}"
pages="${1:-300}"
seed="${2:-1}"
[ -x "$cli" ] || { echo "build lexicrawl-cli first (scripts/lexicrawl.sh build)" >&2; exit 1; }
for tool in python3 hunspell /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing $tool: apt-get install python3 hunspell time" >&2; exit 1; }
done

. "$root/bench/cli/serve.sh"
work=$(mktemp -d)
cleanup() { stop_servers; rm -rf "$work"; }
trap cleanup EXIT

python3 "$here/gen_prose_site.py" "$pages" "$work" --seed "$seed"
start_server "$work"
url="http://127.0.0.1:$server_port/site/index.html"

for mode in standard prose; do
  mkdir -p "$work/data-$mode"
  /usr/bin/time -f '%e' -o "$work/$mode.time" \
    "$cli" crawl "$url" --limit "$pages" --memory --quiet --format csv --text "$mode" \
    --data-folder "$work/data-$mode" --dictionary "English (United States)" >"$work/$mode.csv"
done
# Given several files, hunspell -l puts each file's name before its words.
find "$work/site" -name '*.html' -print0 | xargs -0 hunspell -d /usr/share/hunspell/en_US -H -l \
  | sed 's/^[^:]*\.html: //' | sort -u >"$work/hunspell.txt"

python3 - "$work" "$pages" <<'EOF'
import csv, sys
work, pages = sys.argv[1], sys.argv[2]
planted = {w.strip().lower() for w in open(f"{work}/typos.txt", encoding="utf-8") if w.strip()}

def words_of_csv(path):
    with open(path, encoding="utf-8", newline="") as f:
        rows = list(csv.reader(f))
    return [r[0] for r in rows[1:] if r]

lists = {
    "lexicrawl standard": words_of_csv(f"{work}/standard.csv"),
    "lexicrawl prose": words_of_csv(f"{work}/prose.csv"),
    "hunspell -H -l": [w.strip() for w in open(f"{work}/hunspell.txt", encoding="utf-8") if w.strip()],
}
times = {name: open(f"{work}/{mode}.time").read().split()[0]
         for name, mode in (("lexicrawl standard", "standard"), ("lexicrawl prose", "prose"))}
print(f"{pages} pages, {len(planted)} distinct typos planted")
print(f"{'tool':20} {'typos found':>12} {'other unknown':>14} {'wall_s':>7}")
found_by = {}
for name, words in lists.items():
    folded = {w.lower() for w in words}
    found_by[name] = folded & planted
    print(f"{name:20} {len(found_by[name]):>8}/{len(planted):<3} {len(folded - planted):>14} {times.get(name, ''):>7}")
missed = sorted(found_by["lexicrawl standard"] - found_by["lexicrawl prose"])
print("typos standard finds and prose misses:", " ".join(missed) if missed else "none")
EOF
