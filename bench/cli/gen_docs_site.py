#!/usr/bin/env python3
"""Writes a synthetic documentation website of N pages for suggestion benchmarks.

The pages read like the manual of a software product: guides and API
reference pages with a sidebar, prose built from common English words and a
technical vocabulary, inline code and code blocks (camelCase and snake_case
identifiers, command lines, file paths, configuration keys), product and
project names, version numbers and a few typing slips. So the unknown words
are the mix a real documentation site gives: identifiers run together,
abbreviations, names and misspellings.

Page i links to pages 2i+1 and 2i+2 (so a breadth-first crawl from
index.html reaches every page), to the sidebar's pages and to a few random
ones. Links are relative; the pages live in OUTDIR/site/.
"""
import argparse
import os
import random

MORPHEMES = """get set create delete update list find fetch load save read write open close
start stop run build parse render format validate resolve register dispatch emit
handle process convert encode decode serialize flush sync merge split filter map
reduce sort group join lookup index search match replace insert remove append
config server client request response handler token auth session cache user
account role permission policy id json http url uri api async await init db sql
query schema field value param args kwargs env var len str int bool ptr buf src
dest tmp dir fs io os sys cmd cli ui app dev prod yaml toml npm pip kube node
pod cluster deploy service ingress secret volume mount port host proxy route
router middleware plugin runtime timeout retry backoff metadata namespace
endpoint payload event listener callback promise future stream buffer chunk
byte offset limit page cursor batch queue worker job task thread pool lock
mutex channel socket frame header body cookie origin cors csrf jwt oauth saml
ldap webhook hook trigger cron schedule log logger trace span metric gauge
counter histogram alert health probe ready live status error warn info debug
""".split()

PRODUCTS = """Nimbusly Quillforge Vextra Kubeline Datapane Graphwell Sparkle Zephyrctl
Helmfile Terradeck Postwise Redline Mongrel Elastica Grafton Prometric Lokit
Jaegerly Vaultly Consulate Nomadix Envoyer Istiod Linkerd Traefik Caddyfile
Webpackr Vitejs Rollupx Babelrc Eslintrc Prettierrc Tsconfig Jestify Mochajs
Cypressio Playwrite Storybook Nextjs Nuxtjs Sveltekit Remixjs Astrojs Djangoapp
Flaskr Fastapi Railsy Laravelle Symfonie Springboot Quarkus Micronaut Ktor""".split()

ABBREVIATIONS = """cli sdk api rpc grpc tls ssl dns tcp udp cpu gpu ram ssd vm ci cd
pr mr sso mfa rbac acl crud orm dto dao mvc spa ssr csr cdn waf iam vpc k8s
fqdn ttl uuid utf ascii regex glob stdin stdout stderr pid uid gid tty env
repo config init auth admin sudo chmod chown mkdir rmdir curl wget ssh scp
localhost todo readme changelog dockerfile makefile gitignore npmrc""".split()

SENTENCES = [
    "To {verb} the {noun}, call {code} with the {noun} you want to {verb}.",
    "The {noun} is {adj} by default; set {code} to change it.",
    "{product} {verb}s every {noun} before it is {adj}.",
    "If the {noun} cannot be {adj}, the {noun} returns an error and nothing is {adj}.",
    "Use {code} when you need a {adj} {noun} for each {noun}.",
    "Since version {version}, {product} keeps the {noun} in {code}.",
    "Run {command} to {verb} a new {noun}.",
    "The following example shows how to {verb} a {noun} with {product}.",
    "Each {noun} has a {noun} and an optional {noun}, which you pass as {code}.",
    "See the {noun} guide for the full list of {noun} options.",
    "This {noun} is {adj} and may change in a future release of {product}.",
    "When the {noun} is full, {product} waits until a {noun} is free.",
]

VERBS = """add allow apply change check choose configure connect copy define describe
enable export import include install keep limit manage measure monitor move
name provide publish receive record reduce release replace report request
restore return select send share show store test track upgrade wait watch""".split()

ADJECTIVES = """available current default empty enabled external global hidden internal
invalid local missing optional private public ready required secure shared
stable temporary unique valid visible written cached signed compressed""".split()


def load_words(dic_path):
    words = []
    with open(dic_path, encoding="utf-8", errors="replace") as f:
        next(f)  # the count line
        for line in f:
            w = line.split("/")[0].strip()
            if w.isalpha() and w.islower() and 4 <= len(w) <= 11:
                words.append(w)
    return words


def misspell(word, rng):
    i = rng.randrange(len(word))
    kind = rng.randrange(4)
    if kind == 0 and len(word) > 4:
        return word[:i] + word[i + 1:]
    if kind == 1:
        return word[:i] + rng.choice("aeiourstn") + word[i:]
    if kind == 2 and i + 1 < len(word):
        return word[:i] + word[i + 1] + word[i] + word[i + 2:]
    return word[:i] + rng.choice("aeioutn") + word[i + 1:]


class Vocabulary:
    def __init__(self, words, rng):
        self.rng = rng
        self.nouns = words[:1500]
        self.identifiers = [self.identifier() for _ in range(2500)]
        self.keys = [".".join(rng.sample(MORPHEMES, rng.randint(2, 3))) for _ in range(400)]

    def identifier(self):
        parts = self.rng.sample(MORPHEMES, self.rng.randint(2, 3))
        if self.rng.random() < 0.5:
            return parts[0] + "".join(p.capitalize() for p in parts[1:])
        return "_".join(parts)

    def pick(self, items):
        # Skewed towards the first items, as real text repeats its terms.
        return items[int(len(items) * self.rng.random() ** 3)]

    def noun(self, typo_rate):
        w = self.pick(self.nouns)
        return misspell(w, self.rng) if self.rng.random() < typo_rate else w

    def code(self):
        r = self.rng.random()
        if r < 0.6:
            return f"<code>{self.pick(self.identifiers)}()</code>"
        if r < 0.8:
            return f"<code>{self.pick(self.keys)}</code>"
        return f"<code>--{self.rng.choice(MORPHEMES)}-{self.rng.choice(MORPHEMES)}</code>"

    def command(self):
        tool = self.rng.choice(PRODUCTS).lower()
        return f"<code>{tool} {self.rng.choice(VERBS)} --{self.rng.choice(ABBREVIATIONS)}</code>"


def sentence(voc, rng, typo_rate):
    template = rng.choice(SENTENCES)
    text = template
    while "{" in text:
        text = text.replace("{verb}", rng.choice(VERBS), 1).replace("{adj}", rng.choice(ADJECTIVES), 1)
        text = text.replace("{noun}", voc.noun(typo_rate), 1).replace("{code}", voc.code(), 1)
        text = text.replace("{product}", rng.choice(PRODUCTS), 1).replace("{command}", voc.command(), 1)
        text = text.replace("{version}", f"{rng.randint(1, 9)}.{rng.randint(0, 30)}", 1)
    if rng.random() < 0.15:
        text += f" ({rng.choice(ABBREVIATIONS).upper()})"
    return text[0].upper() + text[1:]


def code_block(voc, rng):
    lines = []
    for _ in range(rng.randint(3, 9)):
        ident = voc.pick(voc.identifiers)
        r = rng.random()
        if r < 0.4:
            lines.append(f"const {ident} = await {voc.pick(voc.identifiers)}({rng.choice(MORPHEMES)}Id);")
        elif r < 0.7:
            lines.append(f"{voc.pick(voc.keys)}: {rng.choice(['true', 'false', rng.randint(1, 9000)])}")
        else:
            lines.append(f"$ {rng.choice(PRODUCTS).lower()} {rng.choice(VERBS)} /etc/{rng.choice(MORPHEMES)}/{ident}.conf")
    return "<pre><code>" + "\n".join(lines) + "</code></pre>"


def page_name(i):
    return "index.html" if i == 0 else f"page{i}.html"


def write_page(path, i, n, voc, rng, typo_rate, sidebar):
    links = [j for j in (2 * i + 1, 2 * i + 2) if j < n] + [rng.randrange(n) for _ in range(4)]
    product = rng.choice(PRODUCTS)
    topic = voc.pick(voc.identifiers) if i % 3 == 0 else voc.noun(0)
    title = f"{topic} - {product} documentation"
    parts = [
        "<!DOCTYPE html>",
        f"<html lang=\"en\"><head><meta charset=\"utf-8\"><title>{title}</title>",
        f"<meta name=\"description\" content=\"{sentence(voc, rng, typo_rate).replace('<code>', '').replace('</code>', '')}\">",
        "<link rel=\"stylesheet\" href=\"style.css\"></head><body>",
        "<nav class=\"sidebar\"><ul>" + "".join(f"<li><a href=\"{page_name(j)}\">{label}</a></li>" for j, label in sidebar) + "</ul></nav>",
        f"<main><h1>{topic}</h1>",
    ]
    for _ in range(rng.randint(2, 4)):
        parts.append(f"<h2>{rng.choice(VERBS).capitalize()} the {voc.noun(typo_rate)}</h2>")
        for _ in range(rng.randint(1, 3)):
            parts.append("<p>" + " ".join(sentence(voc, rng, typo_rate) for _ in range(rng.randint(2, 5))) + "</p>")
        if rng.random() < 0.7:
            parts.append(code_block(voc, rng))
    parts.append("<p>Related: " + ", ".join(f"<a href=\"{page_name(j)}\">{voc.noun(0)}</a>" for j in links) + ".</p>")
    parts.append(f"<footer>Copyright {rng.randint(2015, 2024)} {product}. <a href=\"https://www.example.org/\">Community</a></footer>")
    parts.append("</main></body></html>")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(parts) + "\n")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("pages", type=int)
    ap.add_argument("outdir")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--typo-rate", type=float, default=0.01)
    ap.add_argument("--dictionary", default="/usr/share/hunspell/en_US.dic")
    args = ap.parse_args()
    rng = random.Random(args.seed)
    words = load_words(args.dictionary)
    rng.shuffle(words)
    voc = Vocabulary(words, rng)
    sidebar = [(j, voc.noun(0).capitalize()) for j in range(0, args.pages, max(1, args.pages // 12))]
    site = os.path.join(args.outdir, "site")
    os.makedirs(site, exist_ok=True)
    for i in range(args.pages):
        write_page(os.path.join(site, page_name(i)), i, args.pages, voc, rng, args.typo_rate, sidebar)


if __name__ == "__main__":
    main()
