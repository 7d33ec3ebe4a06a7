#include "analysis/export_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

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

QStringList InternalUrlsCsvLines(const std::vector<InternalUrlRow>& rows, QChar separator)
{
    QStringList lines;
    lines.reserve(qsizetype(rows.size()) + 1);
    lines << QStringList{"URL", "Load_Time", "URL_Length", "Status_Code"}.join(separator);
    for (const InternalUrlRow& row : rows)
        lines << row.page + separator + row.time + separator + row.length + separator + row.response;
    return lines;
}

QStringList InternalUrlsTextLines(const std::vector<InternalUrlRow>& rows)
{
    QStringList lines;
    lines.reserve(qsizetype(rows.size()));
    for (const InternalUrlRow& row : rows)
        lines << row.page;
    return lines;
}

QStringList WordsCsvLines(const std::vector<UnknownWordRow>& rows, QChar separator)
{
    QStringList lines;
    lines.reserve(qsizetype(rows.size()) + 1);
    lines << QStringLiteral("Description") + separator + QStringLiteral("Count");
    for (const UnknownWordRow& row : rows)
        lines << row.word + separator + row.count;
    return lines;
}

QStringList WordsTextLines(const std::vector<UnknownWordRow>& rows)
{
    QStringList lines;
    lines.reserve(qsizetype(rows.size()));
    for (const UnknownWordRow& row : rows)
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

ExportResult ExportInternalUrls(const QString& fileName, const std::vector<InternalUrlRow>& rows, QChar separator)
{
    switch (InternalUrlsExportFormat(fileName)) {
    case ExportFormat::Csv:
        return WriteExportFile(fileName, InternalUrlsCsvLines(rows, separator));
    case ExportFormat::Text:
        return WriteExportFile(fileName, InternalUrlsTextLines(rows));
    case ExportFormat::None:
        break;
    }
    return ExportResult{};
}

ExportResult ExportWords(const QString& fileName, const std::vector<UnknownWordRow>& rows, QChar separator)
{
    if (WordsExportFormat(fileName) == ExportFormat::Csv)
        return WriteExportFile(fileName, WordsCsvLines(rows, separator));
    return WriteExportFile(fileName, WordsTextLines(rows));
}

}  // namespace lexicrawl
