#!/usr/bin/env python3
"""Writes a site of N pages built by scripts: each page's HTML holds an empty
<div id="app"> and a script that fills it with a title, a heading, a few
paragraphs of English-like text (2% misspelled) and links to pages 2i+1,
2i+2 and three random ones. Every fourth page fetches its text from a JSON
file of the site instead.
   gen_script_site.py N FOLDER"""
import json
import os
import random
import sys


def words(rng, vocabulary, count):
    out = []
    for _ in range(count):
        w = rng.choice(vocabulary)
        if rng.random() < 0.02 and len(w) > 3:
            i = rng.randrange(len(w) - 1)
            w = w[:i] + w[i + 1] + w[i] + w[i + 2:]
        out.append(w)
    return " ".join(out)


def main():
    n, folder = int(sys.argv[1]), sys.argv[2]
    rng = random.Random(27)
    dic = "/usr/share/hunspell/en_US.dic"
    vocabulary = [l.split("/")[0] for l in open(dic, encoding="utf-8", errors="replace").read().split("\n")[1:]]
    vocabulary = [w for w in vocabulary if w.isalpha() and w.islower() and 3 <= len(w) <= 10]
    os.makedirs(os.path.join(folder, "site", "data"), exist_ok=True)
    for i in range(n):
        targets = [t for t in (2 * i + 1, 2 * i + 2) if t < n] + [rng.randrange(n) for _ in range(3)]
        links = "".join('<a href="p%d.html">page %d</a> ' % (t, t) for t in targets)
        text = "".join("<p>%s.</p>" % words(rng, vocabulary, 40) for _ in range(4))
        title = words(rng, vocabulary, 4)
        body = "<h1>%s</h1>%s<nav>%s</nav>" % (title, text, links)
        if i % 4 == 3:
            with open(os.path.join(folder, "site", "data", "p%d.json" % i), "w") as f:
                json.dump({"title": title, "html": body}, f)
            script = ("fetch('data/p%d.json').then(function(r){return r.json();}).then(function(d){"
                      "document.title=d.title;document.getElementById('app').innerHTML=d.html;});" % i)
        else:
            script = "document.title=%s;document.getElementById('app').innerHTML=%s;" % (
                json.dumps(title), json.dumps(body))
        page = ("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title></title></head>"
                "<body><div id=\"app\"></div><script>%s</script></body></html>\n" % script)
        name = "index.html" if i == 0 else "p%d.html" % i
        with open(os.path.join(folder, "site", name), "w") as f:
            f.write(page)
        if i == 0:
            with open(os.path.join(folder, "site", "p0.html"), "w") as f:
                f.write(page)


if __name__ == "__main__":
    main()
