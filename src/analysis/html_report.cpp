#include "analysis/html_report.h"

#include <QSaveFile>

#include <map>

namespace lexicrawl {

namespace {

QString Esc(const QString& text)
{
    return text.toHtmlEscaped();
}

// Only web addresses become links; anything else is shown as text.
QString Link(const QString& url)
{
    if (!url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) &&
        !url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return Esc(url);
    return QStringLiteral("<a href=\"%1\" rel=\"noreferrer\">%1</a>").arg(Esc(url));
}

const char* const kStyle = R"(
body{font:14px/1.45 system-ui,sans-serif;margin:2em;color:#222}
h1{font-size:1.5em}h2{font-size:1.2em;margin-top:2em}
table{border-collapse:collapse;width:100%}
th,td{border-bottom:1px solid #ddd;padding:.3em .6em;text-align:left;vertical-align:top}
th[data-key]{cursor:pointer;user-select:none}th[data-key]:after{content:" \2195";color:#999}
tr.word{cursor:pointer}tr.word:hover{background:#f4f7fb}
td.count{text-align:right;width:6em}
tr.detail td{background:#fafafa}
mark{background:#ffe08a}
.place{color:#777;font-size:.85em;margin-right:.5em}
#filter{font-size:1em;padding:.3em;width:20em;margin-bottom:.6em}
dl.summary{display:grid;grid-template-columns:max-content auto;gap:.2em 1em}
dl.summary dt{font-weight:600}
)";

const char* const kScript = R"(
(function(){
  var table=document.getElementById('words');
  if(!table)return;
  var body=table.tBodies[0];
  var pairs=[];
  var rows=body.rows;
  for(var i=0;i<rows.length;i+=2)pairs.push([rows[i],rows[i+1]]);
  var dir={word:-1,count:1};
  function sortBy(key){
    dir[key]=-dir[key];
    var d=dir[key];
    pairs.sort(function(a,b){
      var wa=a[0].dataset.word,wb=b[0].dataset.word;
      if(key!=='count')return d*wa.localeCompare(wb);
      var x=+a[0].dataset.count,y=+b[0].dataset.count;
      return x!==y?d*(x-y):wa.localeCompare(wb);
    });
    pairs.forEach(function(p){body.appendChild(p[0]);body.appendChild(p[1]);});
  }
  Array.prototype.forEach.call(table.tHead.querySelectorAll('th[data-key]'),function(th){
    th.addEventListener('click',function(){sortBy(th.dataset.key);});
  });
  body.addEventListener('click',function(e){
    if(e.target.closest('a'))return;
    var row=e.target.closest('tr.word');
    if(row)row.nextElementSibling.hidden=!row.nextElementSibling.hidden;
  });
  var filter=document.getElementById('filter');
  filter.addEventListener('input',function(){
    var text=filter.value.trim().toLowerCase();
    pairs.forEach(function(p){
      var show=!text||p[0].dataset.word.indexOf(text)>=0;
      p[0].hidden=!show;
      if(!show)p[1].hidden=true;
    });
  });
})();
)";

QString Summary(const ReportData& d)
{
    QString out = QStringLiteral("<dl class=\"summary\">");
    auto item = [&out](const QString& name, const QString& value) {
        out += QStringLiteral("<dt>%1</dt><dd>%2</dd>").arg(name, value);
    };
    item(QStringLiteral("Pages"), QString::number(d.pageCount));
    if (d.summary) {
        item(QStringLiteral("Pages fetched"), QString::number(d.summary->pagesDone));
        item(QStringLiteral("Time"), QString::number(double(d.summary->elapsedMs) / 1000.0, 'f', 1) +
                                         QStringLiteral(" s"));
    }
    std::map<int, int> byStatus;
    for (const InternalUrl& page : d.failedPages)
        ++byStatus[page.statusCode];
    QStringList failures;
    for (const auto& [status, count] : byStatus)
        failures << QStringLiteral("%1 \u00d7 %2").arg(count).arg(status < 0 ? QStringLiteral("no answer")
                                                                          : QString::number(status));
    item(QStringLiteral("Failed pages"), QString::number(d.failedPages.size()) +
                                             (failures.isEmpty() ? QString() : QStringLiteral(" (") +
                                                                                   failures.join(QStringLiteral(", ")) +
                                                                                   QLatin1Char(')')));
    item(QStringLiteral("Unknown words"), QString::number(d.words.size()));
    item(QStringLiteral("Approved words"), QString::number(d.approvedWords));
    return out + QStringLiteral("</dl>");
}

QString Detail(const ReportWord& w)
{
    QString out = QStringLiteral("<ul>");
    QStringList seen;
    for (const WordContext& c : w.contexts) {
        seen << c.url;
        out += QStringLiteral("<li>%1<br><span class=\"place\">%2</span>%3<mark>%4</mark>%5</li>")
                   .arg(Link(c.url), Esc(WordPlaceText(c)), Esc(c.before), Esc(c.marked), Esc(c.after));
    }
    for (const QString& page : w.pages)
        if (!seen.contains(page)) {
            seen << page;
            out += QStringLiteral("<li>%1</li>").arg(Link(page));
        }
    return out + QStringLiteral("</ul>");
}

QString WordTable(const ReportData& d)
{
    QString out = QStringLiteral(
        "<input id=\"filter\" type=\"search\" placeholder=\"Filter words\" aria-label=\"Filter words\">"
        "<table id=\"words\"><thead><tr><th data-key=\"word\">Word</th><th data-key=\"count\">Pages</th>"
        "<th>Suggestions</th></tr></thead><tbody>");
    for (const ReportWord& w : d.words) {
        out += QStringLiteral("<tr class=\"word\" data-word=\"%1\" data-count=\"%2\"><td>%1</td>"
                              "<td class=\"count\">%2</td><td>%3</td></tr>")
                   .arg(Esc(w.word), QString::number(w.occurrence), Esc(w.suggestions.join(QStringLiteral(", "))));
        out += QStringLiteral("<tr class=\"detail\" hidden><td colspan=\"3\">%1</td></tr>").arg(Detail(w));
    }
    return out + QStringLiteral("</tbody></table>");
}

// The likely typos, most likely first, and the site's vocabulary, folded:
// empty when the words are not grouped.
QString Groups(const ReportData& d, bool likely)
{
    if (d.groups.size() != d.words.size() || d.groups.empty())
        return QString();
    QString rows;
    qsizetype count = 0;
    for (const std::size_t i : GroupedOrder(d.groups)) {
        const WordGrouping& g = d.groups[i];
        if (g.LikelyTypo() != likely)
            continue;
        ++count;
        rows += QStringLiteral("<tr><td>%1</td><td class=\"count\">%2</td>")
                    .arg(Esc(d.words[i].word), QString::number(d.words[i].occurrence));
        if (likely)
            rows += QStringLiteral("<td>%1</td>").arg(Esc(g.correction));
        rows += QStringLiteral("<td>%1</td></tr>").arg(Esc(g.ReasonText()));
    }
    const QString head = likely ? QStringLiteral("<th>Word</th><th>Pages</th><th>Correction</th><th>Reason</th>")
                                : QStringLiteral("<th>Word</th><th>Pages</th><th>Reason</th>");
    const QString table = count == 0 ? QStringLiteral("<p>None.</p>")
                                     : QStringLiteral("<table id=\"%1\"><thead><tr>%2</tr></thead><tbody>%3</tbody></table>")
                                           .arg(likely ? QStringLiteral("typos") : QStringLiteral("vocabulary"), head, rows);
    if (likely)
        return QStringLiteral("<h2>%1</h2>\n%2\n").arg(Esc(WordGroupName(WordGroup::LikelyTypo)), table);
    return QStringLiteral("<h2>%1</h2>\n<details><summary>Words: %2</summary>\n%3\n</details>\n")
        .arg(Esc(WordGroupName(WordGroup::SiteVocabulary)), QString::number(count), table);
}

// Words written twice in a row and one word spelled two ways.
QString Findings(const ReportData& d)
{
    if (d.repeatedWords.empty() && d.twoSpellings.empty())
        return QString();
    QString out = QStringLiteral("<h2>Findings</h2>\n");
    if (!d.repeatedWords.empty()) {
        out += QStringLiteral("<h3>Repeated words</h3>\n<table id=\"repeated\"><thead><tr><th>Words</th><th>Page</th>"
                              "<th>Context</th></tr></thead><tbody>");
        for (const RepeatedWordFinding& r : d.repeatedWords)
            out += QStringLiteral("<tr><td>%1 %1</td><td>%2</td><td>%3</td></tr>")
                       .arg(Esc(r.word), Link(r.url), Esc(r.context));
        out += QStringLiteral("</tbody></table>\n");
    }
    if (!d.twoSpellings.empty()) {
        out += QStringLiteral("<h3>One word, two spellings</h3>\n<ul id=\"spellings\">");
        for (const TwoSpellings& t : d.twoSpellings) {
            QStringList forms;
            for (qsizetype i = 0; i < t.spellings.size(); ++i)
                forms << QStringLiteral("%1 (%2 pages)").arg(Esc(t.spellings.at(i)), QString::number(t.pages[std::size_t(i)]));
            out += QStringLiteral("<li>%1</li>").arg(forms.join(QStringLiteral(" / ")));
        }
        out += QStringLiteral("</ul>\n");
    }
    return out;
}

QString FailedPages(const ReportData& d)
{
    if (d.failedPages.empty())
        return QStringLiteral("<p>None.</p>");
    QString out = QStringLiteral("<table id=\"failed\"><thead><tr><th>Page</th><th>Status</th><th>Error</th></tr>"
                                 "</thead><tbody>");
    for (const InternalUrl& p : d.failedPages)
        out += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>")
                   .arg(Link(p.page), p.statusCode < 0 ? QStringLiteral("no answer") : QString::number(p.statusCode),
                        Esc(p.fetchError));
    return out + QStringLiteral("</tbody></table>");
}

QString Documents(const ReportData& d)
{
    QString out = QStringLiteral("<table id=\"documents\"><thead><tr><th>Document</th><th>Kind</th><th>Pages</th>"
                                 "<th>Status</th></tr></thead><tbody>");
    for (const DocumentRow& doc : d.documents)
        out += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td></tr>")
                   .arg(Link(doc.url), Esc(doc.kind),
                        doc.kind == QLatin1String("PDF") ? QString::number(doc.pages) : QString(), Esc(doc.status));
    return out + QStringLiteral("</tbody></table>");
}

QString PageList(const QString& id, const QStringList& pages)
{
    QString out = QStringLiteral("<ul id=\"%1\">").arg(id);
    for (const QString& page : pages)
        out += QStringLiteral("<li>%1</li>").arg(Link(page));
    return out + QStringLiteral("</ul>");
}

// The sections only some crawls have.
QString SourceSections(const ReportData& d)
{
    QString out;
    if (!d.documents.empty())
        out += QStringLiteral("<h2>Documents</h2>\n") + Documents(d) + QLatin1Char('\n');
    if (!d.notes.sitemapOnly.isEmpty())
        out += QStringLiteral("<h2>Found in sitemap, linked from nowhere</h2>\n") +
               PageList(QStringLiteral("sitemap-only"), d.notes.sitemapOnly) + QLatin1Char('\n');
    if (!d.notes.leftOutByRobots.isEmpty())
        out += QStringLiteral("<h2>Left out by robots.txt</h2>\n") +
               PageList(QStringLiteral("robots"), d.notes.leftOutByRobots) + QLatin1Char('\n');
    if (!d.notes.warnings.isEmpty()) {
        out += QStringLiteral("<h2>Site file warnings</h2>\n<ul id=\"warnings\">");
        for (const QString& warning : d.notes.warnings)
            out += QStringLiteral("<li>%1</li>").arg(Esc(warning));
        out += QStringLiteral("</ul>\n");
    }
    return out;
}

}  // namespace

QString HtmlReport(const ReportData& d)
{
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
                          "<meta name=\"viewport\" content=\"width=device-width\">"
                          "<title>Unknown words: %1</title><style>%2</style></head><body>\n"
                          "<h1>Unknown words: %1</h1>\n%3\n%4%5%6<h2>Unknown words</h2>\n%7\n"
                          "<h2>Failed pages</h2>\n%8\n%9<script>%10</script>\n</body></html>\n")
        .arg(Esc(d.site), QString::fromUtf8(kStyle), Summary(d), Groups(d, true), Findings(d), Groups(d, false),
             WordTable(d), FailedPages(d), SourceSections(d), QString::fromUtf8(kScript));
}

bool WriteHtmlReport(const QString& fileName, const ReportData& data, QString* error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.write(HtmlReport(data).toUtf8());
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace lexicrawl
