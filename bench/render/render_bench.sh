#!/usr/bin/env bash
# Crawls a generated site of N pages built by scripts with lexicrawl-cli
# --render (the headless browser included), and without it for comparison,
# then renders the same pages with Qt's web engine (PyQt6) at the same number
# of pages at once. Prints wall time, pages per second and the peak memory of
# the whole process tree (PSS, browser processes included).
#   bench/render/render_bench.sh [PAGES [CONNECTIONS]]   (default: 200 2)
# Needs: python3, chromium, hunspell-en-us, a built build/bin/lexicrawl-cli;
# python3-pyqt6.qtwebengine for the comparison (skipped without it).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
cli="${LEXICRAWL_CLI:-$root/build/bin/lexicrawl-cli}"
[ -x "$cli" ] || { echo "build lexicrawl-cli first (scripts/lexicrawl.sh build)" >&2; exit 1; }
n=${1:-200}
connections=${2:-2}

. "$root/bench/cli/serve.sh"
work=$(mktemp -d)
cleanup() { stop_servers; rm -rf "$work"; }
trap cleanup EXIT

python3 "$here/gen_script_site.py" "$n" "$work/site"
start_server "$work/site"
base="http://127.0.0.1:$server_port"

row() {  # row LABEL TIME_FILE [PAGES_FILE]
  read -r wall peak <"$2"
  local pages=$n
  [ -n "${3:-}" ] && pages=$(wc -l <"$3")
  awk -v l="$1" -v n="$pages" -v w="$wall" -v m="$peak" \
    'BEGIN{printf "%-22s %7d %9.2f %9.2f %11.1f\n", l, n, w, n/(w>0?w:0.01), m}'
}

printf '%-22s %7s %9s %9s %11s\n' run pages wall_s pages/s peak_MiB
mkdir -p "$work/data"
common=(crawl "$base/site/index.html" --limit "$n" --memory --quiet --format csv
        --data-folder "$work/data" --dictionary "English (United States)" --connections "$connections")
python3 "$here/peak_memory.py" "$work/plain.time" "$cli" "${common[@]}" --export-urls "$work/plain.txt"
row "lexicrawl (as sent)" "$work/plain.time" "$work/plain.txt"
python3 "$here/peak_memory.py" "$work/render.time" "$cli" "${common[@]}" --render --export-urls "$work/render.txt"
row "lexicrawl --render" "$work/render.time" "$work/render.txt"
# Debian's PyQt6 belongs to the system's Python, whatever python3 is first on the PATH.
qt_python=${QT_PYTHON:-/usr/bin/python3}
if "$qt_python" -c 'import PyQt6.QtWebEngineCore' 2>/dev/null; then
  python3 "$here/peak_memory.py" "$work/webengine.time" "$qt_python" "$here/webengine_render.py" "$base" "$n" "$connections"
  row "Qt WebEngine (render)" "$work/webengine.time"
else
  echo "python3-pyqt6.qtwebengine is not installed: no comparison" >&2
fi
