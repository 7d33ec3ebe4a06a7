// Feeds arbitrary page text to the link scanner. Every link must come out of
// the page as written, and on small pages the fast scanner must report
// exactly what the plain consume-from-the-front scan reports.
#include "crawl/anchor_scanner.h"
#include "fuzz_input.h"
#include "platform/text.h"

#include <tuple>
#include <vector>

using namespace lexicrawl;

namespace {

using Link = std::tuple<QString, QString, QString, QString>;

const QString kSource = QStringLiteral("http://example.com/dir/page.html");

QString FollowKind(const QString& tag, const QString& lowerTag, QChar quote)
{
    const QString opening = QStringLiteral(" rel=") + quote;
    const qsizetype k = lowerTag.indexOf(opening);
    if (k < 0)
        return QStringLiteral("dofollow");
    const QString after = tag.mid(k + opening.size());
    const qsizetype q = after.indexOf(quote);
    if (q < 0)
        return QStringLiteral("dofollow");
    const QString value = after.left(q);
    if (value.contains(QLatin1String("nofollow"), Qt::CaseInsensitive))
        return QStringLiteral("NOFOLLOW");
    if (value.contains(QLatin1String("sponsored"), Qt::CaseInsensitive))
        return QStringLiteral("SPONSORED");
    if (value.contains(QLatin1String("ugc"), Qt::CaseInsensitive))
        return QStringLiteral("UGC");
    return QStringLiteral("dofollow");
}

// The scan as the rules describe it: the working text is consumed from the
// front and lower-cased again at every step.
void PlainPass(QString working, const QString& opening, std::vector<Link>& out)
{
    for (;;) {
        const qsizetype from = LowerAZ(working).indexOf(opening);
        if (from < 0)
            return;
        const QString rest = working.mid(from);
        const qsizetype gt = rest.indexOf(u'>');
        if (gt < 0) {
            working.remove(0, from + 1);
            continue;
        }
        const QString tag = rest.left(gt + 1);
        const QString lowerTag = LowerAZ(tag);
        for (const QChar quote : {QChar(u'"'), QChar(u'\'')}) {
            const QString rel = FollowKind(tag, lowerTag, quote);
            for (const char* attribute : {" href=", "\thref="}) {
                const QString o = QLatin1String(attribute) + quote;
                const qsizetype k = lowerTag.indexOf(o);
                if (k < 0)
                    continue;
                const QString after = tag.mid(k + o.size());
                const qsizetype q = after.indexOf(quote);
                if (q < 0)
                    continue;
                const QString href = after.left(q);
                const qsizetype end = LowerAZ(rest).indexOf(QLatin1String("</a>"));
                if (end < 0)
                    continue;
                const QString raw = end > gt ? rest.mid(gt + 1, end - gt - 1) : QString();
                const QString anchor = TrimCtl(DecodeHtmlReferences(raw));
                const bool mail = StartsWithAZ(href, QStringLiteral("mailto:"));
                out.emplace_back(href, mail ? QString() : kSource, rel, anchor);
            }
        }
        working.remove(0, from + gt + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString html = fuzz::TextOf(data, size);
    std::vector<Link> found;
    ScanAnchors(html, kSource, [&](const QString& link, const QString& source, const QString& rel,
                                   const QString& anchor) { found.emplace_back(link, source, rel, anchor); });
    for (const auto& [link, source, rel, anchor] : found) {
        FUZZ_CHECK(html.contains(link));
        FUZZ_CHECK(source.isEmpty() || source == kSource);
        FUZZ_CHECK(rel == u"dofollow" || rel == u"NOFOLLOW" || rel == u"SPONSORED" || rel == u"UGC");
        FUZZ_CHECK(anchor == TrimCtl(anchor));
    }
    if (html.size() <= 4096) {
        std::vector<Link> expected;
        PlainPass(html, QStringLiteral("<a "), expected);
        PlainPass(html, QStringLiteral("<a\r"), expected);
        FUZZ_CHECK(found == expected);
    }
    const QString decoded = DecodeHtmlReferences(html);
    FUZZ_CHECK(!decoded.contains(QChar(u'\0')) || html.contains(QChar(u'\0')));
    return 0;
}
