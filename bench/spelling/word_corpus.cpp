#include "word_corpus.h"

#include "platform/text.h"
#include "spelling/dic_entries.h"

namespace lexicrawl::bench {

QStringList DictionaryStems(const QByteArray& dic)
{
    QStringList stems;
    for (const DicEntry& entry : DicEntries(dic))
        stems << QString::fromUtf8(entry.root);
    return stems;
}

QString Misspell(const QString& word, uint32_t seed)
{
    Rng rng(seed * 2654435761u + 12345u);
    QString w = LowerAZ(word);
    if (w.isEmpty())
        return w;
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    const int at = int(rng.Below(uint32_t(w.size())));
    const QChar letter = letters[int(rng.Below(26))];
    switch (rng.Below(5)) {
    case 0: if (w.size() > 2) w.remove(at, 1); else w.insert(at, letter); break;
    case 1: w.insert(at, w[at]); break;
    case 2: if (at + 1 < w.size()) std::swap(w[at], w[at + 1]); else w.append(letter); break;
    case 3: w[at] = letter; break;
    default: w.insert(at, letter); break;
    }
    return w;
}

QStringList PageWords(const QString& text)
{
    QStringList out;
    QString word;
    auto finish = [&] {
        if (!word.isEmpty())
            out << LowerAZ(word);
        word.clear();
    };
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= 0xC0 && u <= 0xFF))
            word += c;
        else
            finish();
    }
    finish();
    return out;
}

QStringList Compounds(const QStringList& stems, int count, uint32_t seed)
{
    QStringList nouns;
    for (const QString& s : stems) {
        if (s.size() > 2 && s[0].isUpper() && s.mid(1) == s.mid(1).toLower())
            nouns << s;
    }
    QStringList out;
    Rng rng(seed);
    for (int i = 0; i < count && !nouns.isEmpty(); ++i) {
        const QString a = nouns[int(rng.Below(uint32_t(nouns.size())))];
        const QString b = nouns[int(rng.Below(uint32_t(nouns.size())))];
        out << a + b.toLower();
    }
    return out;
}

QStringList AwkwardTokens()
{
    return {
        "mcdonald", "mcDonald", "McDonald", "iphone", "iPhone", "ebay", "eBay", "nasa", "NASA",
        "Nasa", "paris", "Paris", "PARIS", "london", "youtube", "javascript", "github", "linkedin",
        "2nd", "3rd", "21st", "1990s", "123", "3d", "x86", "mp3", "4th", "100", "1,000", "3.14",
        "o'clock", "rock'n'roll", "it's", "it\u2019s", "don't", "dont", "o'neil", "o'brien",
        "e-mail", "new-york", "well-known", "self-esteem", "x-ray", "t-shirt", "re-use",
        "caf\u00e9", "na\u00efve", "\u00fcber", "stra\u00dfe", "\u01c6ungla", "\ufb01le",
        "\u0131stanbul", "se\u00f1or", "fa\u00e7ade", "r\u00e9sum\u00e9", "\u00e9cole",
        "\u043f\u0440\u0438\u0432\u0435\u0442", "\u03b1\u03b2\u03b3", "a", "i", "u", "s", "x",
        "www", "http", "html", "css", "json", "api", "url", "urls", "faq", "faqs", "pdf",
        "ok", "okay", "tv", "dvd", "cd", "cds", "usa", "uk", "eu", "un", "nato", "aids", "ufo",
        "j.r.r.", "etc.", "e.g.", "mr.", "dr", "st", "vs", "inc", "ltd", "co",
        // Forms of roots in capitals or mixed case, suggested as "COBOLs",
        // "MS's", "MacDonald's": their all-capitals forms are rejected.
        "cobols", "eulas", "fms", "iras", "ms's", "mt's", "sw's", "unix's", "macdonald's",
        "cinemascope's", "iphones", "tvs", "dvds", "cds", "pcs", "ufos", "faqs", "urls",
        // The same within words the engine checks in pieces (at hyphens, less
        // trailing dots) or converts first (a typographic apostrophe).
        "old-cobols", "cobols-era", "x-iphones", "cobols.", "tvs...", "ms\u2019s", "unix\u2019s",
        "macdonald\u2019s", "e-mail-faqs", "pcs-", "-dvds", "iphones'", "cobol's-", "nasa's",
        // British English: forms of hyphenated names ("Cwm-hirs"), and names
        // whose split is a dictionary pair ("bolton" is offered "bolt-on" only).
        "cwm-hirs", "europe-wide's", "mynydd-bachs", "nant-ddus", "spanish-speaking's", "yong-chols",
        "yong-chuns", "bolton", "bolton's", "halfmoon", "headon", "northeast", "northwest", "northwest's",
        "southeast", "southeast's", "southwest", "southwest's", "twentynine",
        // German and French as pages cut them: lower-cased nouns and names,
        // sharp s, elided and hyphenated words in pieces.
        "haus", "straße", "strasse", "müller", "muller", "berlin", "münchen", "lt", "gmbh", "bzw",
        "l", "d", "qu", "n", "s", "j", "c", "m", "jusqu", "lorsqu", "aujourd", "hui", "homme", "ur",
        "uvre", "paris", "marseille", "montpellier", "été", "État", "Île", "ça", "porte", "monnaie",
        "œuvre", "ŒUVRE", "Ärger", "ärger", "Übung", "übung", "österreich", "Österreich",
    };
}

}  // namespace lexicrawl::bench
