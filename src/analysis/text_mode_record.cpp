#include "analysis/text_mode_record.h"

#include "store/project_database.h"
#include "store/sql_quote.h"

namespace lexicrawl {

namespace {

const QString kModeKey = QStringLiteral("TextMode");
const QString kAltAndTitleKey = QStringLiteral("CheckAltAndTitle");

QString OptionInsert(const QString& name, const QString& value)
{
    return QStringLiteral("insert into TEXTOPTIONS (NAME,VALUE) values (") + SqlQuote(name) + QLatin1Char(',') +
           SqlQuote(value) + QStringLiteral(");");
}

bool HasTable(ProjectDatabase& database, const QString& table)
{
    bool found = false;
    database.Query(QStringLiteral("SELECT name FROM sqlite_master where type='table' AND name=") + SqlQuote(table) +
                       QLatin1Char(';'),
                   [&found](const Row&) { found = true; });
    return found;
}

}  // namespace

namespace text_mode_record {

QStringList BeginStatements(const TextOptions& options)
{
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS TEXTOPTIONS (ID INTEGER PRIMARY KEY AUTOINCREMENT, NAME TEXT, "
                       "VALUE TEXT);"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS SKIPPEDTEXT (ID INTEGER PRIMARY KEY AUTOINCREMENT, URL TEXT, "
                       "LANGUAGE TEXT, WORDS INTEGER);"),
        OptionInsert(kModeKey, TextModeName(options.mode)),
        OptionInsert(kAltAndTitleKey, options.checkAltAndTitle ? QStringLiteral("ON") : QStringLiteral("OFF")),
    };
}

QString SkippedTextInsert(const QString& url, const QString& language, qsizetype words)
{
    return QStringLiteral("insert into SKIPPEDTEXT (URL,LANGUAGE,WORDS) values (") + SqlQuote(url) +
           QLatin1Char(',') + SqlQuote(language) + QLatin1Char(',') + QString::number(words) +
           QStringLiteral(");");
}

}  // namespace text_mode_record

TextModeRecord ReadTextModeRecord(ProjectDatabase& database)
{
    TextModeRecord record;
    if (!HasTable(database, QStringLiteral("TEXTOPTIONS")))
        return record;
    database.Query(QStringLiteral("SELECT NAME, VALUE FROM TEXTOPTIONS ORDER BY ID;"), [&record](const Row& row) {
        if (row.At(0) == kModeKey)
            record.options.mode = TextModeFromName(row.At(1));
        else if (row.At(0) == kAltAndTitleKey)
            record.options.checkAltAndTitle = row.At(1) == QLatin1String("ON");
    });
    if (!HasTable(database, QStringLiteral("SKIPPEDTEXT")))
        return record;
    database.Query(QStringLiteral("SELECT LANGUAGE, COUNT(*), SUM(WORDS) FROM SKIPPEDTEXT group by LANGUAGE "
                                  "order by SUM(WORDS) DESC, LANGUAGE;"),
                   [&record](const Row& row) {
                       record.skipped.push_back({row.At(0), row.At(1).toLongLong(), row.At(2).toLongLong()});
                   });
    return record;
}

}  // namespace lexicrawl
