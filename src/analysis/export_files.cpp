#include "analysis/export_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "analysis/result_text.h"
#include "platform/escaped_bytes.h"
#include "platform/text.h"

namespace lexicrawl {

namespace {

QString FailureText(const QString& fileName, const QString& reason)
{
    return QStringLiteral("Cannot write file \"%1\". %2").arg(QDir::toNativeSeparators(fileName), reason);
}

}  // namespace

QString ExportExtension(const QString& fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : LowerAZ(name.mid(dot));
}

ExportFormat InternalUrlsExportFormat(const QString& fileName)
{
    const QString extension = ExportExtension(fileName);
    if (extension == QLatin1String(".csv"))
        return ExportFormat::Csv;
    if (extension == QLatin1String(".txt"))
        return ExportFormat::Text;
    return ExportFormat::None;
}

ExportFormat WordsExportFormat(const QString& fileName)
{
    return ExportExtension(fileName) == QLatin1String(".csv") ? ExportFormat::Csv : ExportFormat::Text;
}

QStringList InternalUrlsCsvLines(const std::vector<InternalUrl>& rows, QChar decimalSeparator, QChar listSeparator,
                                 const QHash<QString, QString>& notes)
{
    QStringList lines;
    lines.reserve(qsizetype(rows.size()) + 1);
    QStringList header{"URL", "Load_Time", "URL_Length", "Status_Code"};
    if (!notes.isEmpty())
        header << QStringLiteral("Note");
    lines << CsvLine(header, listSeparator);
    for (const InternalUrl& row : rows) {
        QStringList fields{row.page, LoadTimeText(row, decimalSeparator), QString::number(row.urlLength),
                           StatusCodeText(row)};
        if (!notes.isEmpty())
            fields << notes.value(row.page);
        lines << CsvLine(fields, listSeparator);
    }
    return lines;
}

QHash<QString, QString> PageNotes(const CrawlNotes& notes, const std::vector<DocumentRow>& documents)
{
    QHash<QString, QString> byPage;
    for (const QString& page : notes.sitemapOnly)
        byPage.insert(page, QStringLiteral("sitemap only (linked from nowhere)"));
    for (const DocumentRow& d : documents) {
        QString note = d.kind + QStringLiteral(" document");
        if (d.status != QLatin1String("read"))
            note += QStringLiteral(": ") + d.status;
        QString& text = byPage[d.url];
        text = text.isEmpty() ? note : text + QStringLiteral("; ") + note;
    }
    return byPage;
}

QStringList InternalUrlsTextLines(const std::vector<InternalUrl>& rows)
{
    QStringList lines;
    lines.reserve(qsizetype(rows.size()));
    for (const InternalUrl& row : rows)
        lines << row.page;
    return lines;
}

QStringList WordsCsvLines(const std::vector<UnknownWord>& rows, QChar listSeparator)
{
    QStringList lines;
    lines.reserve(qsizetype(rows.size()) + 1);
    lines << CsvLine({"Description", "Count"}, listSeparator);
    for (const UnknownWord& row : rows)
        lines << CsvLine({row.word, QString::number(row.occurrence)}, listSeparator);
    return lines;
}

QStringList WordsTextLines(const std::vector<UnknownWord>& rows)
{
    QStringList lines;
    lines.reserve(qsizetype(rows.size()));
    for (const UnknownWord& row : rows)
        lines << row.word;
    return lines;
}

ExportResult WriteExportFile(const QString& fileName, const QStringList& lines)
{
    ExportResult result;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = FailureText(fileName, file.errorString());
        return result;
    }
    const QByteArray content = QByteArray("\xEF\xBB\xBF") + EncodeUtf8Replacing(JoinLines(lines));
    if (file.write(content) != content.size()) {
        result.error = FailureText(fileName, file.errorString());
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.error = FailureText(fileName, file.errorString());
        return result;
    }
    result.written = true;
    return result;
}

ExportResult ExportInternalUrls(const QString& fileName, const std::vector<InternalUrl>& rows, QChar decimalSeparator,
                                QChar listSeparator, const QHash<QString, QString>& notes)
{
    switch (InternalUrlsExportFormat(fileName)) {
    case ExportFormat::Csv:
        return WriteExportFile(fileName, InternalUrlsCsvLines(rows, decimalSeparator, listSeparator, notes));
    case ExportFormat::Text:
        return WriteExportFile(fileName, InternalUrlsTextLines(rows));
    case ExportFormat::None:
        break;
    }
    return ExportResult{};
}

ExportResult ExportWords(const QString& fileName, const std::vector<UnknownWord>& rows, QChar listSeparator)
{
    if (WordsExportFormat(fileName) == ExportFormat::Csv)
        return WriteExportFile(fileName, WordsCsvLines(rows, listSeparator));
    return WriteExportFile(fileName, WordsTextLines(rows));
}

}  // namespace lexicrawl
