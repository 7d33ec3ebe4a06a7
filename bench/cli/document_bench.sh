#!/usr/bin/env bash
# The cost of reading a linked PDF of N pages (default 200) in a crawl:
# crawls a one-page site that links to the PDF with and without --documents
# and prints the median wall time of each over RUNS runs (default 5), and
# their difference: what the document costs (fetch, text of every page,
# words, checks, rows).
#   bench/cli/document_bench.sh [PAGES] [RUNS]
# Needs: python3, bc and a built build/bin/lexicrawl-cli.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
cli="${LEXICRAWL_CLI:-$root/build/bin/lexicrawl-cli}"
pages="${1:-200}"
runs="${2:-5}"
[ -x "$cli" ] || { echo "build lexicrawl-cli first (scripts/lexicrawl.sh build)" >&2; exit 1; }

. "$root/bench/cli/serve.sh"
work=$(mktemp -d)
cleanup() { stop_servers; rm -rf "$work"; }
trap cleanup EXIT
mkdir -p "$work/site"

# A PDF of PAGES pages, each with 40 lines of English-like text and a slip
# now and then, written the way the document fixtures are.
python3 - "$pages" "$work/site/long.pdf" <<'PY'
import random, sys
pages, path = int(sys.argv[1]), sys.argv[2]
rng = random.Random(1)
words = ("the harbour office report board volunteers award work year meeting members committee "
         "notice contact printed copies annual budget repair ships crew weather season port "
         "visitors records finance staff plans review minutes agenda public safety").split()
slips = ["recieved", "untill", "comittee", "seperate", "goverment"]
objects, kids = [], []
for p in range(pages):
    lines = []
    for i in range(40):
        line = " ".join(rng.choice(words) for _ in range(12))
        if rng.random() < 0.05:
            line += " " + rng.choice(slips)
        lines.append(f"({line}) Tj 0 -16 Td")
    content = "BT /F1 10 Tf 50 760 Td " + " ".join(lines) + " ET"
    objects.append(f"<< /Length {len(content)} >>\nstream\n{content}\nendstream")
    content_id = len(objects) + 3
    objects.append(f"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents {content_id} 0 R "
                   "/Resources << /Font << /F1 3 0 R >> >> >>")
    kids.append(len(objects) + 3)
head = ["<< /Type /Catalog /Pages 2 0 R >>",
        f"<< /Type /Pages /Kids [{' '.join(f'{k} 0 R' for k in kids)}] /Count {len(kids)} >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"]
body, offsets = b"%PDF-1.4\n", []
for n, obj in enumerate(head + objects, start=1):
    offsets.append(len(body))
    body += f"{n} 0 obj\n{obj}\nendobj\n".encode("latin-1")
xref = len(body)
body += f"xref\n0 {len(offsets) + 1}\n0000000000 65535 f \n".encode()
for off in offsets:
    body += f"{off:010d} 00000 n \n".encode()
body += f"trailer\n<< /Size {len(offsets) + 1} /Root 1 0 R >>\nstartxref\n{xref}\n%%EOF\n".encode()
open(path, "wb").write(body)
PY
echo '<html><body><p>The harbour office.</p><a href="long.pdf">Report</a></body></html>' >"$work/site/index.html"

start_server "$work"
url="http://127.0.0.1:$server_port/site/index.html"

run() {  # prints the wall seconds of one crawl
  local data="$work/data-$RANDOM$RANDOM"
  mkdir -p "$data"
  local start end
  start=$(date +%s%N)
  "$cli" crawl "$url" --memory --quiet --format csv --data-folder "$data" \
    --dictionary "English (United States)" "$@" >"$work/words.csv"
  end=$(date +%s%N)
  rm -rf "$data"
  echo "scale=3; ($end - $start) / 1000000000" | bc
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

without=$(for _ in $(seq "$runs"); do run; done | median)
with=$(for _ in $(seq "$runs"); do run --documents; done | median)
words=$(($(wc -l <"$work/words.csv") - 1))
printf '%s-page PDF (%s KiB), median of %s runs\n' "$pages" "$(($(stat -c %s "$work/site/long.pdf") / 1024))" "$runs"
printf '  crawl without --documents: %6.2f s\n' "$without"
printf '  crawl with --documents:    %6.2f s  (%s unknown words)\n' "$with" "$words"
printf '  the document costs:        %6.2f s\n' "$(echo "$with - $without" | bc)"
