#!/usr/bin/env bash
# Screenshots of the real window for the README: builds, serves a generated
# 60-page site on 127.0.0.1, crawls it in the window under Xvfb and writes
# docs/screenshots/: internal-urls.png, unknown-words.png, word-list-focus.png
# (the keyboard focus in the word list), analysis.png (the page analysis
# window), failed-start.png (a start URL that could not be fetched) and
# page-marks.png (a site with a sitemap, a robots.txt and documents, crawled
# with those options on: the Note column and the page pane's line).
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

. "$root/bench/cli/serve.sh"
work=$(mktemp -d)
cleanup() { stop_servers; rm -rf "$work"; }
trap cleanup EXIT
python3 "$root/bench/cli/gen_site.py" 60 "$work/www"
start_server "$work/www"
site_root="http://127.0.0.1:$server_port"

# The marked site: its sitemap names a page nothing links to, its robots.txt
# keeps one out, and it links the document readers' test fixtures.
marked="$work/marked"
mkdir -p "$marked/private"
cp "$root"/tests/data/analysis/documents/{report.pdf,encrypted.pdf,letter.docx} "$marked/"
printf 'User-agent: *\nDisallow: /private/\n' >"$marked/robots.txt"
page() { printf '<html><head><title>%s</title></head><body><h1>%s</h1>%s</body></html>\n' "$2" "$2" "$3" >"$marked/$1"; }
page index.html "Harbour office" '<p>Welcome to the harbour office.</p><a href="/about.html">About</a>
<a href="/private/staff.html">Staff</a> <a href="/report.pdf">Annual report</a>
<a href="/encrypted.pdf">Locked report</a> <a href="/letter.docx">Letter</a>'
page about.html "About the office" '<p>The office opens at nine.</p>'
page orphan.html "Old timetable" '<p>Nobody links to this page.</p>'
page private/staff.html "Staff" '<p>Staff only.</p>'
start_server "$marked"
marked_root="http://127.0.0.1:$server_port"
printf '<?xml version="1.0"?><urlset xmlns="http://www.sitemaps.org/schemas/sitemap/0.9"><url><loc>%s/about.html</loc></url><url><loc>%s/orphan.html</loc></url></urlset>\n' \
  "$marked_root" "$marked_root" >"$marked/sitemap.xml"

xvfb-run -a -s "-screen 0 1400x900x24" "$build/bench/window_screenshots" \
  "$site_root/site/index.html" "$root/docs/screenshots" "$marked_root/"
