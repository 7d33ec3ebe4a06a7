#!/usr/bin/env python3
"""Writes a documentation-like website of N pages with typos planted in its prose.

Each page mixes English prose (words of the en_US word list) with what a
programming manual holds around it: code blocks and inline code, identifiers
written in prose (getAttrString, snake_case_name, os.path), numbers and
versions (expression1, a2b, 400s, 3.11), URLs, e-mail addresses, file names,
contractions with straight and typographic apostrophes, quotes, and words of
the trade that the dictionary does not know. A few pages quote a German
sentence marked lang="de".

Typos are planted in the prose only: a dictionary word with two neighbouring
letters swapped, one letter dropped, doubled or replaced; each typo is one
that hunspell rejects. Some stand in quotes or parentheses, or before a comma. OUTDIR/typos.txt lists every planted typo, one per
line (as planted: some stand capitalised at the start of a sentence).
Needs hunspell and the en_US dictionary.
"""
import argparse
import os
import random
import string
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gen_site import load_words, page_name  # noqa: E402

CONTRACTIONS = ["doesn't", "isn't", "won't", "wouldn't", "it's", "can't", "o'clock", "don't",
                "doesn\u2019t", "isn\u2019t", "wouldn\u2019t", "it\u2019s", "you\u2019re", "they're"]
JARGON = ["webhook", "localhost", "async", "stdin", "stdout", "backend", "config", "changelog",
          "regex", "hostname", "username", "subcommand", "submodule", "plugin", "tooltip", "dropdown",
          "middleware", "frontend", "codebase", "filesystem", "timestamp", "runtime", "metadata",
          "JSON", "YAML", "API", "CLI", "UTF", "URL"]
IDENTIFIERS = ["getAttrString", "parseConfig", "snake_case_name", "load_settings", "os.path", "sys.argv",
               "maxRetries", "HttpClient", "toString", "readLine", "__init__", "self.value", "is_valid",
               "setUp", "tearDown", "np.array", "userId", "XMLHttpRequest", "onClick", "innerHTML"]
NUMBERS = ["expression1", "a2b", "400s", "3.11", "v2", "x86_64", "utf8", "md5", "sha256", "2nd", "10ms",
           "1.2.3", "ipv6", "h264", "base64", "404", "2024", "mp3", "e2e", "k8s"]
URLS = ["https://creativecommons.org/licenses/by/4.0/", "https://www.python.org/downloads/",
        "http://localhost:8080/api/v1/items", "www.example.org/docs/getting-started",
        "https://github.com/example/project/issues/42", "ftp://files.example.net/pub/"]
EMAILS = ["help@example.org", "security@example.com", "jane.doe@mail.example.net"]
FILES = ["config.yaml", "settings.json", "README.md", "main.py", "index.html", "Makefile.am", "setup.cfg",
         "package.json", "app.log", "requirements.txt"]
GERMAN = "Die Natur versteht gar keinen Spa\u00df, sie ist immer wahr, immer ernst, immer strenge."


def mutate(word, rng):
    """One typo of a word: swap two neighbours, drop, double or replace a letter."""
    i = rng.randrange(len(word) - 1)
    kind = rng.randrange(4)
    if kind == 0:
        return word[:i] + word[i + 1] + word[i] + word[i + 2:]
    if kind == 1:
        return word[:i] + word[i + 1:]
    if kind == 2:
        return word[:i] + word[i] + word[i:]
    letter = rng.choice([c for c in string.ascii_lowercase if c != word[i]])
    return word[:i] + letter + word[i + 1:]


def rejected_by_hunspell(candidates, dic):
    out = subprocess.run(["hunspell", "-d", dic, "-l"], input="\n".join(candidates), capture_output=True,
                         text=True, check=True).stdout
    return set(out.split())


def make_typos(words, rng, count, dic):
    """count distinct typos of words of at least five letters, each rejected by hunspell."""
    long_words = [w for w in words if len(w) >= 5]
    candidates = {}
    while len(candidates) < count * 3:
        w = rng.choice(long_words)
        candidates.setdefault(mutate(w, rng), w)
    unknown = rejected_by_hunspell(list(candidates), dic)
    typos = [t for t in candidates if t in unknown and t.isalpha()]
    rng.shuffle(typos)
    return typos[:count]


class Writer:
    def __init__(self, words, typos, rng):
        self.words, self.typos, self.rng = words, typos, rng
        self.next_typo = 0
        self.planted = []

    def word(self):
        return self.words[int(len(self.words) * self.rng.random() ** 4)]

    def typo(self):
        t = self.typos[self.next_typo % len(self.typos)]
        self.next_typo += 1
        return t

    def extra(self):
        """Something a manual's prose holds besides plain words."""
        rng = self.rng
        kind = rng.randrange(9)
        if kind == 0:
            return f"<code>{rng.choice(IDENTIFIERS)}()</code>"
        if kind == 1:
            return rng.choice(IDENTIFIERS)
        if kind == 2:
            return rng.choice(NUMBERS)
        if kind == 3:
            return rng.choice(URLS)
        if kind == 4:
            return rng.choice(EMAILS)
        if kind == 5:
            return rng.choice(FILES)
        if kind == 6:
            return rng.choice(CONTRACTIONS)
        if kind == 7:
            return rng.choice(JARGON)
        # Manuals quote the same few terms over and over.
        return "\u2018" + self.words[rng.randrange(20)] + "\u2019"

    def sentence(self, typo_rate):
        rng = self.rng
        out = []
        for _ in range(rng.randint(7, 16)):
            r = rng.random()
            if r < typo_rate:
                t = self.typo()
                out.append(rng.choice(["{}", "{}", "{}", "{},", "({})", "\u2018{}\u2019", "\u201c{}\u201d",
                                       "\"{}\""]).format(t))
                self.planted.append(t)
            elif r < typo_rate + 0.12:
                out.append(self.extra())
            else:
                out.append(self.word())
        if not out[0].startswith("<"):
            out[0] = out[0][0].upper() + out[0][1:]
            if out[0].lower() in self.typos:
                self.planted.append(out[0])
        return " ".join(out) + rng.choice([".", ".", ".", "!", "?", ":"])

    def code_block(self):
        rng = self.rng
        lines = []
        for _ in range(rng.randint(3, 8)):
            ident = rng.choice(IDENTIFIERS)
            lines.append(rng.choice([
                f"result = {ident}(\"{self.word()}\", {rng.randint(0, 999)})",
                f"def {rng.choice(IDENTIFIERS).replace('.', '_')}(argv, kwargs):",
                f"    return {ident}.get('{self.word()}_{self.word()}')",
                f"# {self.word()} {self.word()} {rng.choice(NUMBERS)}",
                f"for idx in range(len({ident})): print(idx, {rng.choice(NUMBERS)})",
                f"$ mytool --{self.word()}-{self.word()} {rng.choice(FILES)}",
            ]))
        return "<pre><code>" + "\n".join(lines).replace("<", "&lt;") + "</code></pre>"


def write_page(path, i, n, writer, rng, typo_rate):
    links = [j for j in (2 * i + 1, 2 * i + 2) if j < n] + [rng.randrange(n) for _ in range(4)]
    title = " ".join(writer.word() for _ in range(4)).capitalize()
    parts = [
        "<!DOCTYPE html>",
        f"<html lang=\"en\"><head><meta charset=\"utf-8\"><title>{title}</title>",
        f"<meta name=\"description\" content=\"{writer.sentence(0)}\"></head><body>",
        "<nav>" + " ".join(f"<a href=\"{page_name(j)}\">Page {j}</a>" for j in links) + "</nav>",
        f"<h1>{title}</h1>",
    ]
    for _ in range(rng.randint(2, 4)):
        parts.append(f"<h2>{writer.sentence(typo_rate)[:-1]}</h2>")
        parts.append("<p>" + " ".join(writer.sentence(typo_rate) for _ in range(rng.randint(2, 5))) + "</p>")
        if rng.random() < 0.7:
            parts.append(writer.code_block())
        parts.append("<ul>" + "".join(f"<li>{writer.sentence(typo_rate)}</li>" for _ in range(rng.randint(1, 3)))
                     + "</ul>")
    if rng.random() < 0.1:
        parts.append(f"<blockquote lang=\"de\"><p>{GERMAN}</p></blockquote>")
    parts.append("<footer>Licensed under <a href=\"https://creativecommons.org/licenses/by/4.0/\">CC BY 4.0</a>; "
                 "written by the team, who doesn't mind feedback at help@example.org.</footer>")
    parts.append("<script>var notaword = 'zzqx';</script></body></html>")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(parts) + "\n")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("pages", type=int)
    ap.add_argument("outdir")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--typo-rate", type=float, default=0.006)
    ap.add_argument("--typos", type=int, default=400, help="distinct typos to plant from")
    ap.add_argument("--dictionary", default="/usr/share/hunspell/en_US")
    args = ap.parse_args()
    rng = random.Random(args.seed)
    words = load_words(args.dictionary + ".dic")
    rng.shuffle(words)
    writer = Writer(words, make_typos(words, rng, args.typos, args.dictionary), rng)
    site = os.path.join(args.outdir, "site")
    os.makedirs(site, exist_ok=True)
    for i in range(args.pages):
        write_page(os.path.join(site, page_name(i)), i, args.pages, writer, rng, args.typo_rate)
    with open(os.path.join(args.outdir, "typos.txt"), "w", encoding="utf-8") as f:
        f.write("\n".join(sorted(set(writer.planted))) + "\n")


if __name__ == "__main__":
    main()
