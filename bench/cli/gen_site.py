#!/usr/bin/env python3
"""Writes a synthetic website of N pages for crawl benchmarks.

Every page has a title, a META description, an H1, a few H2 sections of
English-like text drawn from the en_US word list (with a share of misspelt
words), links to other pages of the site and one external link. Page i links
to pages 2i+1 and 2i+2, so a breadth-first crawl from index.html reaches all
of them, plus a few random pages, so that most links are duplicates. Links are
relative and the pages live in OUTDIR/site/, because root-relative links
resolve against the bare host and would lose a benchmark server's port.
"""
import argparse
import os
import random


def load_words(dic_path):
    words = []
    with open(dic_path, encoding="utf-8", errors="replace") as f:
        next(f)  # the count line
        for line in f:
            w = line.split("/")[0].strip()
            if w.isalpha() and w.islower() and 3 <= len(w) <= 12:
                words.append(w)
    return words


def misspell(word, rng):
    i = rng.randrange(len(word))
    kind = rng.randrange(3)
    if kind == 0:
        return word[:i] + word[i + 1:] if len(word) > 3 else word + "x"
    if kind == 1:
        return word[:i] + rng.choice("aeiouxz") + word[i:]
    return word[:i] + word[i] + word[i:]


def sentence(words, rng, typo_rate):
    n = rng.randint(6, 16)
    out = []
    for _ in range(n):
        # Skew towards frequent words, as real text does.
        w = words[int(len(words) * rng.random() ** 4)]
        out.append(misspell(w, rng) if rng.random() < typo_rate else w)
    out[0] = out[0].capitalize()
    return " ".join(out) + "."


def page_name(i):
    return "index.html" if i == 0 else f"page{i}.html"


def write_page(path, i, n, words, rng, typo_rate):
    links = [j for j in (2 * i + 1, 2 * i + 2) if j < n] + [rng.randrange(n) for _ in range(6)]
    title = sentence(words, rng, 0)[:-1]
    parts = [
        "<!DOCTYPE html>",
        f"<html lang=\"en\"><head><meta charset=\"utf-8\"><title>{title}</title>",
        f"<meta name=\"description\" content=\"{sentence(words, rng, typo_rate)}\">",
        "<style>body{font-family:sans-serif}</style></head><body>",
        "<nav>" + " ".join(f"<a href=\"{page_name(j)}\">Page {j}</a>" for j in links) + "</nav>",
        f"<h1>{title}</h1>",
    ]
    for _ in range(rng.randint(2, 4)):
        parts.append(f"<h2>{sentence(words, rng, typo_rate)[:-1]}</h2>")
        for _ in range(rng.randint(2, 4)):
            parts.append("<p>" + " ".join(sentence(words, rng, typo_rate) for _ in range(rng.randint(3, 6))) + "</p>")
    parts.append("<p>See also <a href=\"https://www.example.org/\" rel=\"nofollow\">an outside site</a>.</p>")
    parts.append("<script>var x = 'notaword';</script></body></html>")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(parts) + "\n")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("pages", type=int)
    ap.add_argument("outdir")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--typo-rate", type=float, default=0.02)
    ap.add_argument("--dictionary", default="/usr/share/hunspell/en_US.dic")
    args = ap.parse_args()
    rng = random.Random(args.seed)
    words = load_words(args.dictionary)
    rng.shuffle(words)
    site = os.path.join(args.outdir, "site")
    os.makedirs(site, exist_ok=True)
    for i in range(args.pages):
        write_page(os.path.join(site, page_name(i)), i, args.pages, words, rng, args.typo_rate)


if __name__ == "__main__":
    main()
