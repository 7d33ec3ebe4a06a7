#include "analysis/readable_text.h"

#include <QCollator>
#include <QLocale>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <vector>

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

}  // namespace

// Case-insensitive in the user's collation; words the collation holds equal
// (Élan, élan) keep a fixed order by their code units.
// Each word's sort key is made once: keys order as the collation's own
// comparison does, at a fraction of the cost of comparing the words anew.
void SortWords(QStringList& words)
{
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    struct Keyed {
        QCollatorSortKey key;
        QString word;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(std::size_t(words.size()));
    for (QString& w : words)
        keyed.push_back({collator.sortKey(w), std::move(w)});
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        const int order = a.key.compare(b.key);
        return order != 0 ? order < 0 : a.word < b.word;
    });
    for (qsizetype i = 0; i < words.size(); ++i)
        words[i] = std::move(keyed[std::size_t(i)].word);
}

QString ExtractReadableText(const QString& source)
{
    return ExtractReadableText(source, nullptr);
}

QString ExtractReadableText(const QString& source, RenderObserver* observer)
{
    const QString prepared =
        readable_text::WithoutCompatibilityTag(readable_text::CutAfterHtmlEnd(source));
    const HtmlDocument document(prepared);
    return readable_text::WithoutSoftHyphens(
        document.BodyText(HtmlDocument::kNoCut, std::string(), nullptr, observer));
}

QString ExtractWords(const QString& text)
{
    WordCollector collector;
    collector.Add(text);
    return collector.Result();
}

QStringList DistinctWords(const QString& text)
{
    WordCollector collector;
    collector.Add(text);
    return collector.Words();
}

void WordCollector::Add(QStringView piece)
{
    const QChar* data = piece.constData();
    const qsizetype n = piece.size();
    qsizetype i = 0;
    while (i < n) {
        const char16_t c = data[i].unicode();
        if (!IsWordChar(c)) {
            if (!(skipSoftHyphens_ && c == 0x00AD))
                EndWord();
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < n && IsWordChar(data[end].unicode()))
            ++end;
        const qsizetype start = word_.size();
        word_.resize(start + (end - i));  // keeps its capacity
        QChar* out = word_.data() + start;
        for (; i < end; ++i)
            *out++ = LowerAZ(data[i]);
    }
}

void WordCollector::EndWord()
{
    if (word_.isEmpty())
        return;
    if (seen_.find(QStringView(word_)) == seen_.end()) {
        QString word(word_.constData(), word_.size());
        seen_.insert(word);
        words_.append(std::move(word));
    }
    word_.resize(0);
}

QStringList WordCollector::Words()
{
    EndWord();
    return std::move(words_);
}

QString WordCollector::Result()
{
    EndWord();
    SortWords(words_);
    return JoinLines(words_);
}

}  // namespace lexicrawl
