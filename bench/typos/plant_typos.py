#!/usr/bin/env python3
"""Copies documentation sites and plants one-edit typos into their prose.
   plant_typos.py OUT COUNT SEED NAME=FOLDER:START ...
   Each site is copied to OUT/NAME; COUNT typos (0: none) are planted over all
   sites in proportion to their pages, each once, into the running text of a
   <p> element (never into code, tags or entities). A planted typo is a word
   of 5 to 12 lower-case letters with one letter inserted, left out, replaced
   or swapped with its neighbour, that neither English dictionary (US, UK) knows and that
   the site does not already write. Writes OUT/planted.tsv (typo, word, page)
   and OUT/sites.tsv (name, start page, pages)."""
import html as html_module
import os
import random
import re
import shutil
import subprocess
import sys

CODE_TAGS = {"code", "pre", "tt", "kbd", "samp", "var", "script", "style"}
PARAGRAPH = re.compile(r"(<p\b[^>]*>)(.*?)(</p>)", re.S | re.I)
TOKEN = re.compile(r"<[^>]*>|&[#\w]+;|[^<&]+", re.S)
WORD = re.compile(r"(?<![\w'-])([a-z]{5,12})(?![\w'-])")


def unknown_to(dictionary, words):
    """The words the dictionary does not know, as lexicrawl-cli check answers ($LEXICRAWL_CLI)."""
    unknown = set()
    words = sorted(set(words))
    for i in range(0, len(words), 500):
        out = subprocess.run([os.environ["LEXICRAWL_CLI"], "check", "--text", "prose", "--dictionary", dictionary]
                             + words[i:i + 500], capture_output=True, text=True, check=True).stdout
        unknown |= {line.split("\t")[0] for line in out.splitlines() if line.endswith("\tunknown")}
    return unknown


def one_edit(word, rng):
    letters = "abcdefghijklmnopqrstuvwxyz"
    kind = rng.choice(["insert", "delete", "replace", "swap"])
    i = rng.randrange(len(word))
    if kind == "insert":
        return word[:i] + rng.choice(letters) + word[i:]
    if kind == "delete":
        return word[:i] + word[i + 1:]
    if kind == "replace":
        return word[:i] + rng.choice(letters.replace(word[i], "")) + word[i + 1:]
    i = min(i, len(word) - 2)
    if word[i] == word[i + 1]:
        return None
    return word[:i] + word[i + 1] + word[i] + word[i + 2:]


def prose_spots(html):
    """(start, end, word, in a token) of every word of the running text of a <p>, outside code."""
    spots = []
    for m in PARAGRAPH.finditer(html):
        base = m.start(2)
        depth = 0
        for t in TOKEN.finditer(m.group(2)):
            text = t.group(0)
            if text.startswith("<"):
                name = re.match(r"</?\s*([a-zA-Z0-9]+)", text)
                if name and name.group(1).lower() in CODE_TAGS:
                    depth += -1 if text.startswith("</") else 1
                    depth = max(depth, 0)
                continue
            if text.startswith("&") or depth:
                continue
            # A token goes on across inline tags ("<i>schema.</i><b>index_list(</b>")
            # and entities ("master&#126;9").
            tail = html_module.unescape(re.sub(r"<[^>]*>", "", m.group(2)[t.end():t.end() + 200]))
            joined_text = text + tail[:2]
            for w in WORD.finditer(text):
                spots.append((base + t.start() + w.start(1), base + t.start() + w.end(1), w.group(1),
                              in_token(joined_text, w.start(1), w.end(1))))
    return spots


def in_token(text, start, end):
    """Whether the letters are part of a longer token that is no word of the
    prose: a host name, a file name, a path, an option value, a man page
    ("bugs.debian.org", "settings.xml", "3.months.ago", "format=fixed",
    "diffstat(1)", "https://", "master~9"). A full stop or colon ending a
    sentence is no joiner."""
    before = text[start - 1] if start > 0 else " "
    after = text[end] if end < len(text) else " "
    beyond = text[end + 1] if end + 1 < len(text) else " "
    if before in "/\\=@_#~" or after in "/\\=@_#(~":
        return True
    if before in ".:" and start > 1 and text[start - 2].isalnum():
        return True
    return after in ".:" and (beyond.isalnum() or beyond == "/")


def main():
    out, count, seed = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    rng = random.Random(seed)
    sites = []
    for site in sys.argv[4:]:
        name, rest = site.split("=", 1)
        folder, start = rest.rsplit(":", 1)
        target = os.path.join(out, name)
        shutil.copytree(folder, target, symlinks=False, dirs_exist_ok=True)
        pages = sorted(os.path.join(d, f) for d, _, fs in os.walk(target) for f in fs if f.endswith(".html"))
        sites.append((name, start, pages))
    all_pages = [p for _, _, pages in sites for p in pages]
    site_words = set()
    for page in all_pages:
        site_words.update(re.findall(r"[A-Za-z]+", open(page, encoding="utf-8", errors="replace").read().lower()))

    planted = []
    if count:
        candidates = []  # (page, start, end, word, in a token)
        for page in all_pages:
            html = open(page, encoding="utf-8", errors="replace").read()
            for start, end, word, joined in prose_spots(html):
                candidates.append((page, start, end, word, joined))
        rng.shuffle(candidates)
        proposals = []
        for page, start, end, word, joined in candidates[:count * 20]:
            typo = one_edit(word, rng)
            # The letters of a longer token are passed over after the draw,
            # so that the other spots get the typos they always got.
            if typo and typo != word and typo not in site_words and not joined:
                proposals.append((page, start, end, word, typo))
        unknown = unknown_to("English (United States)", [p[4] for p in proposals]) & unknown_to(
            "English (United Kingdom)", [p[4] for p in proposals])
        used_typos, used_spots = set(), set()
        for page, start, end, word, typo in proposals:
            if len(planted) == count:
                break
            if typo not in unknown or typo in used_typos or (page, start) in used_spots:
                continue
            used_typos.add(typo)
            used_spots.add((page, start))
            planted.append((page, start, end, word, typo))
        by_page = {}
        for p in planted:
            by_page.setdefault(p[0], []).append(p)
        for page, items in by_page.items():
            html = open(page, encoding="utf-8", errors="replace").read()
            for _, start, end, word, typo in sorted(items, key=lambda p: -p[1]):
                assert html[start:end] == word
                html = html[:start] + typo + html[end:]
            with open(page, "w", encoding="utf-8") as f:
                f.write(html)
    with open(os.path.join(out, "planted.tsv"), "w", encoding="utf-8") as f:
        for page, _, _, word, typo in planted:
            f.write(f"{typo}\t{word}\t{os.path.relpath(page, out)}\n")
    with open(os.path.join(out, "sites.tsv"), "w", encoding="utf-8") as f:
        for name, start, pages in sites:
            f.write(f"{name}\t{start}\t{len(pages)}\n")


if __name__ == "__main__":
    main()
