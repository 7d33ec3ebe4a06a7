#include "analysis/readable_text.h"

#include <QCollator>
#include <QLocale>
#include <QSet>
#include <QStringList>

#include <algorithm>

#include "analysis/html_document.h"
#include "analysis/readable_text_source.h"
#include "platform/text.h"

namespace lexicrawl {

namespace {

bool IsWordChar(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
           (c >= 0x00C0 && c <= 0x00FF);
}

// Case-insensitive in the user's collation; words the collation holds equal
// (Élan, élan) keep a fixed order by their code units.
void SortWords(QStringList& words)
{
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(words.begin(), words.end(), [&collator](const QString& a, const QString& b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
}

}  // namespace

QString ExtractReadableText(const QString& source)
{
    const QString prepared =
        readable_text::WithoutCompatibilityTag(readable_text::CutAfterHtmlEnd(source));
    const HtmlDocument document(prepared);
    return readable_text::WithoutSoftHyphens(document.BodyText());
}

QString ExtractWords(const QString& text)
{
    QStringList words;
    QSet<QString> seen;
    QString word;  // reused: most occurrences repeat a word already seen
    const QChar* data = text.constData();
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        if (!IsWordChar(data[i].unicode())) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < n && IsWordChar(data[end].unicode()))
            ++end;
        word.resize(end - i);  // keeps its capacity
        QChar* out = word.data();
        for (; i < end; ++i)
            *out++ = LowerAZ(data[i]);
        if (!seen.contains(word)) {
            seen.insert(word);
            words.append(word);
        }
    }
    SortWords(words);
    return JoinLines(words);
}

}  // namespace lexicrawl
