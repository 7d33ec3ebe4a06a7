#!/usr/bin/env python3
"""Writes a synthetic website of N pages in German, French or English for
crawl benchmarks and for the word-verdict differential.

The words come from the system's Hunspell dictionary of the language: its
words with the affixes their flags name (conditions honoured), drawn with a
Zipf-like skew. The text has the shape of real prose in that language:
sentences start with a capital; German nouns keep their capital and a share
of them are joined into compounds ("Haustür"); names appear in every
language; French puts the elided articles and pronouns before words that
start with a vowel ("l'homme", "qu'il", "d'une", sometimes with a
typographic apostrophe) and uses its hyphenated words; a share of the words
is misspelt. Page layout and links are those of bench/cli/gen_site.py: a
title, a META description, an H1 and H2 sections, links to pages 2i+1 and
2i+2 and to six random pages, relative links under OUTDIR/site/.
"""
import argparse
import os
import random
import re

DICTIONARIES = {
    "de": "/usr/share/hunspell/de_DE",
    "fr": "/usr/share/hunspell/fr",
    "en": "/usr/share/hunspell/en_US",
}
ELISIONS = ["l'", "d'", "qu'", "n'", "s'", "j'", "c'", "m'", "jusqu'", "lorsqu'"]
VOWELS = "aeiouyhàâéèêëîïôûAEIOUYHÉÈÊÎÔ"


def read_affixes(path):
    flag_long = False
    rules = {}
    excluded = set()
    for line in open(path, encoding="utf-8", errors="replace"):
        f = line.split()
        if len(f) >= 2 and f[0] == "FLAG":
            flag_long = f[1] == "long"
        # Forbidden words are listed misspellings, no-suggest ones taboo.
        if len(f) >= 2 and f[0] in ("FORBIDDENWORD", "NOSUGGEST"):
            excluded.add(f[1])
        if len(f) >= 5 and f[0] in ("PFX", "SFX"):
            strip = "" if f[2] == "0" else f[2]
            add = f[3].split("/")[0]
            add = "" if add == "0" else add
            rules.setdefault(f[1], []).append((f[0] == "PFX", strip, add, f[4]))
    return flag_long, rules, excluded


def condition_holds(cond, word, prefix):
    tokens = re.findall(r"\[\^?[^\]]*\]|.", cond)
    if cond == "." or len(tokens) > len(word):
        return cond == "."
    part = word[: len(tokens)] if prefix else word[-len(tokens):]
    for t, c in zip(tokens, part):
        if t == ".":
            continue
        if t.startswith("[^"):
            if c in t[2:-1]:
                return False
        elif t.startswith("["):
            if c not in t[1:-1]:
                return False
        elif t != c:
            return False
    return True


def read_forms(base, rng, limit):
    flag_long, rules, excluded = read_affixes(base + ".aff")
    forms = []
    with open(base + ".dic", encoding="utf-8", errors="replace") as f:
        next(f)
        for line in f:
            line = line.split("\t")[0].rstrip("\n")
            word, _, flags = line.partition("/")
            word = word.split(" ")[0].strip()
            flags = flags.split(" ")[0].strip()
            if not word or word.startswith("#") or any(c.isdigit() for c in word):
                continue
            names = [flags[i:i + 2] for i in range(0, len(flags), 2)] if flag_long else list(flags)
            if excluded.intersection(names):
                continue
            out = [word]
            for name in names:
                for prefix, strip, add, cond in rules.get(name, []):
                    if prefix or not word.endswith(strip) or not condition_holds(cond, word, False):
                        continue
                    out.append(word[: len(word) - len(strip)] + add)
            forms.extend(w for w in out if 1 < len(w) <= 20 and "." not in w)
    rng.shuffle(forms)
    return forms[:limit]


def misspell(word, rng):
    i = rng.randrange(len(word))
    kind = rng.randrange(3)
    if kind == 0:
        return word[:i] + word[i + 1:] if len(word) > 3 else word + "x"
    if kind == 1:
        return word[:i] + rng.choice("aeiouxz") + word[i:]
    return word[:i] + word[i] + word[i:]


class Writer:
    def __init__(self, language, forms, rng, typo_rate):
        self.language = language
        self.rng = rng
        self.typo_rate = typo_rate
        self.names = [w for w in forms if w[0].isupper() and w[1:].islower()]
        self.lower = [w for w in forms if w.islower() and "-" not in w and "'" not in w]
        self.hyphenated = [w for w in forms if "-" in w.strip("-")]
        self.nouns = self.names if language == "de" else []
        self.rank_words = forms

    def pick(self, words):
        return words[int(len(words) * self.rng.random() ** 4)]

    def word(self):
        r = self.rng.random()
        if r < 0.04 and self.names:
            w = self.pick(self.names)
        elif self.language == "de" and r < 0.30 and self.nouns:
            w = self.pick(self.nouns)
            if self.rng.random() < 0.15:  # a compound noun
                w = w + self.pick(self.nouns).lower()
        elif self.language == "fr" and r < 0.06 and self.hyphenated:
            w = self.pick(self.hyphenated)
        else:
            w = self.pick(self.lower)
        if self.rng.random() < self.typo_rate:
            w = misspell(w, self.rng)
        if self.language == "fr" and w[0] in VOWELS and self.rng.random() < 0.35:
            w = self.rng.choice(ELISIONS) + w
            if self.rng.random() < 0.3:
                w = w.replace("'", "\u2019")
        return w

    def sentence(self, typo=True):
        saved = self.typo_rate
        self.typo_rate = self.typo_rate if typo else 0
        out = [self.word() for _ in range(self.rng.randint(6, 16))]
        self.typo_rate = saved
        out[0] = out[0][0].upper() + out[0][1:]
        return " ".join(out) + "."


def page_name(i):
    return "index.html" if i == 0 else f"page{i}.html"


def write_page(path, i, n, writer, language, rng):
    links = [j for j in (2 * i + 1, 2 * i + 2) if j < n] + [rng.randrange(n) for _ in range(6)]
    title = writer.sentence(False)[:-1]
    parts = [
        "<!DOCTYPE html>",
        f"<html lang=\"{language}\"><head><meta charset=\"utf-8\"><title>{title}</title>",
        f"<meta name=\"description\" content=\"{writer.sentence()}\">",
        "<style>body{font-family:sans-serif}</style></head><body>",
        "<nav>" + " ".join(f"<a href=\"{page_name(j)}\">{j}</a>" for j in links) + "</nav>",
        f"<h1>{title}</h1>",
    ]
    for _ in range(rng.randint(2, 4)):
        parts.append(f"<h2>{writer.sentence()[:-1]}</h2>")
        for _ in range(rng.randint(2, 4)):
            parts.append("<p>" + " ".join(writer.sentence() for _ in range(rng.randint(3, 6))) + "</p>")
    parts.append("<p><a href=\"https://www.example.org/\" rel=\"nofollow\">www.example.org</a></p>")
    parts.append("<script>var x = 'notaword';</script></body></html>")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(parts) + "\n")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("pages", type=int)
    ap.add_argument("outdir")
    ap.add_argument("--language", choices=sorted(DICTIONARIES), default="de")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--typo-rate", type=float, default=0.02)
    ap.add_argument("--vocabulary", type=int, default=60000)
    args = ap.parse_args()
    rng = random.Random(args.seed)
    forms = read_forms(DICTIONARIES[args.language], rng, args.vocabulary)
    writer = Writer(args.language, forms, rng, args.typo_rate)
    site = os.path.join(args.outdir, "site")
    os.makedirs(site, exist_ok=True)
    for i in range(args.pages):
        write_page(os.path.join(site, page_name(i)), i, args.pages, writer, args.language, rng)


if __name__ == "__main__":
    main()
