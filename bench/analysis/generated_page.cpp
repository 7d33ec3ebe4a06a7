#include "generated_page.h"

#include <QStringList>

#include <random>

namespace lexicrawl::bench {

namespace {

const QStringList& Vocabulary()
{
    static const QStringList words = QString::fromUtf8(
        "the a configuration file returns value option server client request response handler "
        "timeout buffer stream parse render install update module package library function "
        "argument default error warning deprecated example note see also when which with without "
        "before after every each only must should may cache token session user path directory "
        "caf\xC3\xA9 na\xC3\xAF" "ve r\xC3\xA9sum\xC3\xA9 recieve teh seperate occured definately")
                                         .split(QLatin1Char(' '));
    return words;
}

QString Sentence(std::mt19937& random, int words)
{
    const QStringList& vocabulary = Vocabulary();
    QString out;
    for (int i = 0; i < words; ++i) {
        if (i)
            out += QLatin1Char(' ');
        const QString& word = vocabulary[int(random() % unsigned(vocabulary.size()))];
        if (random() % 9 == 0)
            out += QStringLiteral("<code>") + word + QStringLiteral("_id()</code>");
        else if (random() % 13 == 0)
            out += QStringLiteral("<a href=\"/docs/") + word + QStringLiteral(".html\">") + word + QStringLiteral("</a>");
        else
            out += word;
    }
    return out + QStringLiteral(". ");
}

QString Section(std::mt19937& random, int index)
{
    QString s = QStringLiteral("<section id=\"s%1\"><h2>Section %1: ").arg(index) + Sentence(random, 4) +
                QStringLiteral("</h2>\n");
    for (int p = 0; p < 3; ++p)
        s += QStringLiteral("<p>") + Sentence(random, 14) + Sentence(random, 10) + QStringLiteral("</p>\n");
    s += QStringLiteral("<table class=\"params\">\n<tr><th>Name</th><th>Type</th><th>Description</th></tr>\n");
    for (int r = 0; r < 4; ++r)
        s += QStringLiteral("<tr><td><code>arg%1</code></td><td>int</td><td>").arg(r) + Sentence(random, 6) +
             QStringLiteral("</td></tr>\n");
    s += QStringLiteral("</table>\n<pre><code><span class=\"kw\">int</span> value = parse(&quot;%1&quot;);\n"
                        "<span class=\"kw\">if</span> (value &lt; 0) {\n    <span class=\"fn\">report</span>(value);\n}"
                        "</code></pre>\n")
             .arg(index);
    s += QStringLiteral("<ul><li>") + Sentence(random, 6) + QStringLiteral("</li><li>") + Sentence(random, 6) +
         QStringLiteral("</li></ul>\n<h3>Notes</h3><div class=\"note\" hidden>") + Sentence(random, 5) +
         QStringLiteral("</div></section>\n");
    return s;
}

}  // namespace

QString GeneratedDocumentationPage(int minimumBytes, unsigned seed)
{
    std::mt19937 random(seed);
    QString page = QStringLiteral(
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
        "<title>Reference &mdash; Generated Manual</title>\n"
        "<meta name=\"description\" content=\"A generated reference page for benchmarks.\">\n"
        "<style>body { font-family: sans-serif; } pre { background: #f5f5f5; }</style>\n"
        "<script>window.config = { theme: 'light', sections: 100 };</script>\n"
        "</head><body><nav><ul><li><a href=\"/\">Home</a></li><li><a href=\"/docs\">Docs</a></li></ul></nav>\n"
        "<main><h1>Generated Manual</h1>\n");
    int index = 0;
    while (page.toUtf8().size() < minimumBytes) {
        QString chunk;
        for (int k = 0; k < 50; ++k)
            chunk += Section(random, index++);
        page += chunk;
    }
    page += QStringLiteral("</main><footer><p>&copy; Generated</p></footer></body></html>\n");
    return page;
}

}  // namespace lexicrawl::bench
