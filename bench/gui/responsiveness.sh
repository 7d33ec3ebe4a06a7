#!/usr/bin/env bash
# The window's responsiveness and speed against the command line's:
# generates a site of N pages (default 1000) with one 5 MB page linked from
# its start page, serves it on 127.0.0.1, and crawls it in turns with
# lexicrawl-cli and with the real window (under Xvfb when it is installed,
# else on Qt's offscreen platform), RUNS times each (default 3). Prints each
# run and the median wall times, their ratio, and the window's probe lateness.
#   bench/gui/responsiveness.sh [PAGES [RUNS]]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
build="${LEXICRAWL_BUILD_DIR:-$root/build}"
pages="${1:-1000}"
runs="${2:-3}"
for tool in "$build/bin/lexicrawl-cli" "$build/bench/window_responsiveness"; do
  [ -x "$tool" ] || { echo "build first: scripts/lexicrawl.sh build (missing $tool)" >&2; exit 1; }
done

. "$root/bench/cli/serve.sh"
work=$(mktemp -d)
cleanup() { stop_servers; rm -rf "$work"; }
trap cleanup EXIT

python3 "$root/bench/cli/gen_site.py" "$pages" "$work/www"
python3 - "$work/www/site" <<'PY'
import sys, random
site = sys.argv[1]
words = open(site + "/index.html", encoding="utf-8").read().split()
random.seed(5)
with open(site + "/big.html", "w", encoding="utf-8") as f:
    f.write("<html><head><title>Big page</title></head><body>\n")
    size = 0
    while size < 5 * 1024 * 1024:
        line = "<p>" + " ".join(random.choice(words) for _ in range(40)) + "</p>\n"
        f.write(line)
        size += len(line)
    f.write("</body></html>\n")
index = open(site + "/index.html", encoding="utf-8").read()
open(site + "/index.html", "w", encoding="utf-8").write(index.replace("</body>", '<a href="big.html">Big</a></body>', 1))
PY
start_server "$work/www"
url="http://127.0.0.1:$server_port/site/index.html"

run_window() {
  if command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1600x1000x24" "$build/bench/window_responsiveness" "$url" "$pages"
  else
    QT_QPA_PLATFORM=offscreen "$build/bench/window_responsiveness" "$url" "$pages"
  fi
}

cli_times=(); window_times=()
for i in $(seq "$runs"); do
  start=$(date +%s.%N)
  "$build/bin/lexicrawl-cli" crawl "$url" --limit "$pages" --quiet --format csv --data-folder "$work/cli$i" \
    --dictionary "English (United States)" >/dev/null
  cli=$(echo "$(date +%s.%N) - $start" | bc)
  line=$(run_window 2>/dev/null | tee "$work/window$i.txt" | head -1)
  window=$(echo "$line" | sed -E 's/.* in ([0-9.]+) s.*/\1/')
  echo "run $i: command line ${cli} s; window ${window} s; $(tail -1 "$work/window$i.txt")"
  cli_times+=("$cli"); window_times+=("$window")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
mc=$(median "${cli_times[@]}"); mw=$(median "${window_times[@]}")
echo "median: command line $mc s, window $mw s, window/command line $(echo "scale=2; $mw / $mc" | bc)"
