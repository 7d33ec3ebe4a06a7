#!/usr/bin/env bash
# Screenshots of the real window for the README: builds, serves a generated
# 60-page site on 127.0.0.1, crawls it in the window under Xvfb and writes
# docs/screenshots/: internal-urls.png, unknown-words.png, word-list-focus.png
# (the keyboard focus in the word list), analysis.png (the page analysis
# window) and failed-start.png (a start URL that could not be fetched).
#   scripts/screenshots.sh
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
build="${LEXICRAWL_BUILD_DIR:-$root/build}"

bash "$here/lexicrawl.sh" build
if ! command -v xvfb-run >/dev/null; then
  sudo=(); [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get install -y -qq xvfb xauth >/dev/null
fi

work=$(mktemp -d)
server_pid=
cleanup() { [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
python3 "$root/bench/cli/gen_site.py" 60 "$work/www"
python3 "$root/bench/cli/serve.py" "$work/www" >"$work/port" &
server_pid=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done

xvfb-run -a -s "-screen 0 1400x900x24" "$build/bench/window_screenshots" \
  "http://127.0.0.1:$(cat "$work/port")/site/index.html" "$root/docs/screenshots"
