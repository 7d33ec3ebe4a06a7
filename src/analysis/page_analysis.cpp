#include "analysis/page_analysis.h"

#include <QCollator>
#include <QSet>

#include <algorithm>

#include "platform/text.h"

namespace lexicrawl {

namespace {

// The value after name + quote in tag, up to the next quote (or the tag's end).
bool QuotedValue(const QString& tag, const QString& lowerTag, const QString& name, QChar quote, QString* value)
{
    const QString opening = name + quote;
    const qsizetype at = lowerTag.indexOf(opening);
    if (at < 0)
        return false;
    const qsizetype start = at + opening.size();
    const qsizetype end = tag.indexOf(quote, start);
    *value = end < 0 ? tag.mid(start) : tag.mid(start, end - start);
    return true;
}

void ReadImageTag(const QString& tag, std::vector<ImageRow>& rows)
{
    const QString lowerTag = LowerAZ(tag);
    for (const QChar quote : {QChar(u'"'), QChar(u'\'')}) {
        ImageRow row;
        QuotedValue(tag, lowerTag, QStringLiteral(" alt="), quote, &row.alt);
        QuotedValue(tag, lowerTag, QStringLiteral(" title="), quote, &row.title);
        if (QuotedValue(tag, lowerTag, QStringLiteral(" src="), quote, &row.src))
            rows.push_back(row);
    }
}

}  // namespace

std::vector<ImageRow> ListImages(const QString& source)
{
    std::vector<ImageRow> rows;
    const QString lower = LowerAZ(source);  // positions stay valid: only A-Z change
    const QString opening = QStringLiteral("<img ");
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = lower.indexOf(opening, from);
        if (at < 0)
            break;
        const qsizetype gt = source.indexOf(u'>', at);
        if (gt < 0) {
            from = at + 1;
            continue;
        }
        ReadImageTag(source.mid(at, gt - at + 1), rows);
        from = gt + 1;
    }
    return rows;
}

QString TidyReadableText(const QString& text)
{
    QStringList lines;
    for (const QString& line : SplitLines(text)) {
        const QString trimmed = TrimCtl(line);
        if (trimmed.isEmpty() && (lines.isEmpty() || lines.last().isEmpty()))
            continue;  // at the start, or after another empty line
        lines << trimmed;
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join(u'\n');
}

QStringList WordListOf(const QString& text, const QString& wordCharacters)
{
    const QSet<QChar> wordChars(wordCharacters.begin(), wordCharacters.end());
    QSet<QString> seen;
    QStringList words;
    for (const QString& line : SplitLines(text)) {
        qsizetype start = -1;
        for (qsizetype i = 0; i <= line.size(); ++i) {
            const bool inWord = i < line.size() && wordChars.contains(line.at(i));
            if (inWord && start < 0)
                start = i;
            if (!inWord && start >= 0) {
                const QString word = LowerAZ(TrimCtl(line.mid(start, i - start)));
                if (!word.isEmpty() && !seen.contains(word)) {
                    seen.insert(word);
                    words << word;
                }
                start = -1;
            }
        }
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(words.begin(), words.end(), [&collator](const QString& a, const QString& b) { return collator(a, b); });
    return words;
}

}  // namespace lexicrawl
