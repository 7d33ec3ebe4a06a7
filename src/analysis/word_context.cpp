#include "analysis/word_context.h"

#include <QSet>

#include "analysis/page_record.h"
#include "platform/text.h"
#include "platform/text_hash.h"
#include "store/project_database.h"
#include "store/sql_quote.h"

namespace lexicrawl {

namespace {

// How much of a long sentence is kept on either side of the word.
constexpr qsizetype kSideLength = 50;

bool IsWordCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') ||
           (u >= 0x00C0 && u <= 0x00FF);
}

bool EndsSentence(QChar c)
{
    return c == u'.' || c == u'!' || c == u'?' || c == u'\r' || c == u'\n';
}

WordContext Around(const QString& text, qsizetype start, qsizetype length)
{
    qsizetype from = start;
    while (from > 0 && !EndsSentence(text.at(from - 1)))
        --from;
    while (from < start && text.at(from).isSpace())
        ++from;
    qsizetype to = start + length;
    while (to < text.size() && !EndsSentence(text.at(to)))
        ++to;
    if (to < text.size() && text.at(to) != u'\r' && text.at(to) != u'\n')
        ++to;  // the full stop belongs to the sentence
    WordContext c;
    c.before = text.mid(from, start - from);
    c.marked = text.mid(start, length);
    c.after = text.mid(start + length, to - start - length);
    if (c.before.size() > kSideLength)
        c.before = QStringLiteral("\u2026") + c.before.right(kSideLength);
    if (c.after.size() > kSideLength)
        c.after = c.after.left(kSideLength) + QStringLiteral("\u2026");
    return c;
}

bool IsHeadingLine(const QString& text, qsizetype at, const PageRecord& record)
{
    qsizetype from = at, to = at;
    while (from > 0 && text.at(from - 1) != u'\n' && text.at(from - 1) != u'\r')
        --from;
    while (to < text.size() && text.at(to) != u'\n' && text.at(to) != u'\r')
        ++to;
    const QString line = text.mid(from, to - from).trimmed();
    for (const QStringList* lines : {&record.h1Lines, &record.h2Lines})
        for (const QString& heading : *lines)
            if (heading.trimmed() == line)
                return true;
    return false;
}

// Scans the text's words once; each wanted word found for the first time
// gets its context. Words are lower-cased into one buffer, and only words of
// a length that is wanted are looked up, so a page costs no allocation per word.
void Scan(const QString& text, WordPlace place, const PageRecord& record, TextSet& wanted,
          const QSet<qsizetype>& lengths, std::vector<WordContext>& found, const QString& url)
{
    QString lowered;
    qsizetype i = 0;
    while (i < text.size() && !wanted.empty()) {
        if (!IsWordCharacter(text.at(i))) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < text.size() && IsWordCharacter(text.at(i)))
            ++i;
        if (!lengths.contains(i - start))
            continue;
        lowered.resize(i - start);
        for (qsizetype k = 0; k < lowered.size(); ++k) {
            const QChar c = text.at(start + k);
            lowered[k] = (c >= u'A' && c <= u'Z') ? QChar(c.unicode() + 32) : c;
        }
        const auto hit = wanted.find(QStringView(lowered));
        if (hit == wanted.end())
            continue;
        wanted.erase(hit);
        WordContext c = Around(text, start, i - start);
        c.url = url;
        c.word = lowered;
        c.place = place == WordPlace::Body && IsHeadingLine(text, start, record) ? WordPlace::Heading : place;
        found.push_back(std::move(c));
    }
}

const QString kPagePrefix = QStringLiteral("page ");

BoundStatement ContextInsert(const WordContext& c)
{
    // A document's page is kept in the place column: "page 3".
    const QString place = c.documentPage > 0 ? kPagePrefix + QString::number(c.documentPage) : WordPlaceName(c.place);
    return {"insert into CONTEXTS (URL,WORD,PLACE,BEFORE,MARKED,AFTER) values (?,?,?,?,?,?);",
            {c.url, c.word, place, c.before, c.marked, c.after}};
}

WordPlace PlaceFromName(const QString& name)
{
    for (WordPlace p : {WordPlace::Title, WordPlace::Description, WordPlace::Heading})
        if (WordPlaceName(p) == name)
            return p;
    return WordPlace::Body;
}

int DocumentPageFromName(const QString& name)
{
    return name.startsWith(kPagePrefix) ? name.mid(kPagePrefix.size()).toInt() : 0;
}

std::vector<WordContext> LoadContexts(ProjectDatabase& database, const QString& where)
{
    std::vector<WordContext> contexts;
    if (!HasTable(database, QStringLiteral("CONTEXTS")))
        return contexts;
    database.Query(QStringLiteral("SELECT URL, WORD, PLACE, BEFORE, MARKED, AFTER FROM CONTEXTS") + where +
                       QStringLiteral(" order by ID;"),
                   [&](const Row& row) {
                       contexts.push_back({row.At(0), row.At(1), PlaceFromName(row.At(2)), row.At(3), row.At(4),
                                           row.At(5), DocumentPageFromName(row.At(2))});
                   });
    return contexts;
}

}  // namespace

QString WordPlaceName(WordPlace place)
{
    switch (place) {
    case WordPlace::Title:
        return QStringLiteral("title");
    case WordPlace::Description:
        return QStringLiteral("description");
    case WordPlace::Heading:
        return QStringLiteral("heading");
    case WordPlace::Body:
        break;
    }
    return QStringLiteral("body");
}

std::vector<WordContext> FindWordContexts(const QString& url, const PageRecord& record, const QStringList& words)
{
    std::vector<WordContext> found;
    TextSet wanted;
    QSet<qsizetype> lengths;
    for (const QString& w : words) {
        wanted.insert(w);
        lengths.insert(w.size());
    }
    Scan(record.title, WordPlace::Title, record, wanted, lengths, found, url);
    Scan(record.description, WordPlace::Description, record, wanted, lengths, found, url);
    Scan(record.text, WordPlace::Body, record, wanted, lengths, found, url);
    return found;
}

std::vector<WordContext> FindDocumentContexts(const QString& url, const QStringList& pages, const QStringList& words)
{
    std::vector<WordContext> found;
    QStringList wanted = words;
    for (qsizetype i = 0; i < pages.size() && !wanted.isEmpty(); ++i) {
        PageRecord page;
        page.text = pages[i];
        for (WordContext& c : FindWordContexts(url, page, wanted)) {
            c.documentPage = int(i + 1);
            wanted.removeOne(c.word);
            found.push_back(std::move(c));
        }
    }
    return found;
}

QString WordPlaceText(const WordContext& context)
{
    return context.documentPage > 0 ? kPagePrefix + QString::number(context.documentPage) : WordPlaceName(context.place);
}

void WriteWordContexts(ProjectDatabase& database, const std::vector<WordContext>& contexts)
{
    if (contexts.empty())
        return;
    Transaction transaction(database);
    database.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS CONTEXTS (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                                    "URL TEXT, WORD TEXT, PLACE TEXT, BEFORE TEXT, MARKED TEXT, AFTER TEXT);"));
    for (const WordContext& c : contexts)
        database.Execute(ContextInsert(c));
    transaction.Commit();
}

std::vector<WordContext> LoadWordContexts(ProjectDatabase& database, const QString& word)
{
    return LoadContexts(database, QStringLiteral(" where WORD=") + SqlQuote(word));
}

std::vector<WordContext> LoadAllWordContexts(ProjectDatabase& database)
{
    return LoadContexts(database, QString());
}

bool HasTable(ProjectDatabase& database, const QString& table)
{
    bool found = false;
    database.Query(QStringLiteral("SELECT name FROM sqlite_master where type='table' and name=") + SqlQuote(table) +
                       QLatin1Char(';'),
                   [&found](const Row&) { found = true; });
    return found;
}

}  // namespace lexicrawl
