#include "cli/word_report.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "analysis/unknown_word_list.h"
#include "platform/text.h"
#include "store/project_database.h"

namespace lexicrawl::cli {

namespace {

QString CsvField(const QString& s)
{
    if (!s.contains(QLatin1Char(',')) && !s.contains(QLatin1Char('"')) && !s.contains(QLatin1Char('\n')) &&
        !s.contains(QLatin1Char('\r')))
        return s;
    return QLatin1Char('"') + QString(s).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString AsTable(const std::vector<UnknownWord>& words)
{
    qsizetype width = 4;
    for (const UnknownWord& w : words)
        width = std::max(width, w.word.size());
    QString out = QStringLiteral("Word").leftJustified(width + 2) + QStringLiteral("Occurrence\n");
    for (const UnknownWord& w : words)
        out += w.word.leftJustified(width + 2) + w.occurrence + QLatin1Char('\n');
    return out;
}

QString AsCsv(const std::vector<UnknownWord>& words)
{
    QString out = QStringLiteral("word,occurrence,pages\n");
    for (const UnknownWord& w : words)
        out += CsvField(w.word) + QLatin1Char(',') + w.occurrence + QLatin1Char(',') +
               CsvField(w.pages.join(QLatin1Char(' '))) + QLatin1Char('\n');
    return out;
}

QString AsJson(const std::vector<UnknownWord>& words)
{
    QJsonArray list;
    for (const UnknownWord& w : words) {
        QJsonObject o;
        o.insert(QStringLiteral("word"), w.word);
        o.insert(QStringLiteral("occurrence"), w.occurrence.toLongLong());
        o.insert(QStringLiteral("pages"), QJsonArray::fromStringList(w.pages));
        list.append(o);
    }
    QJsonObject root;
    root.insert(QStringLiteral("unknownWords"), list);
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented));
}

}  // namespace

std::vector<UnknownWord> LoadWordReport(ProjectDatabase& db)
{
    std::vector<UnknownWordRow> rows;
    QString error;
    if (!LoadUnknownWords(db, rows, &error))
        throw DatabaseError(error);
    std::vector<UnknownWord> words;
    words.reserve(rows.size());
    QHash<QString, size_t> index;  // caption -> position
    for (const UnknownWordRow& row : rows) {
        index.insert(row.word, words.size());
        words.push_back({row.word, row.count, {}});
    }
    // One pass over the rows instead of one query per word: MISSPELLED has no
    // index on WORD, so per-word queries would cost a full scan each.
    db.Query(QStringLiteral("SELECT WORD, URL FROM MISSPELLED;"), [&](const Row& row) {
        const QString word = row.At(0).isNull() ? NotCheckedYetCaption() : row.At(0);
        const auto it = index.constFind(word);
        if (it != index.cend() && !TrimCtl(row.At(1)).isEmpty())
            words[*it].pages << row.At(1);
    });
    return words;
}

QString FormatUnknownWords(const std::vector<UnknownWord>& words, OutputFormat format)
{
    switch (format) {
    case OutputFormat::Csv:
        return AsCsv(words);
    case OutputFormat::Json:
        return AsJson(words);
    case OutputFormat::Table:
    default:
        return AsTable(words);
    }
}

}  // namespace lexicrawl::cli
