#pragma once
// One page parsed once, with every fact and text the program reads from it.
// The results are those of the free functions of page_facts.h and
// readable_text.h on the same source; only the parse is shared.
//
// Thread-safety: immutable after construction; const members may be called
// from several threads at once.
#include <QString>
#include <QStringView>

#include <cstddef>

#include "analysis/html_document.h"

namespace lexicrawl {

class RenderObserver;

class ParsedPage {
public:
    explicit ParsedPage(const QString& source);

    const QString& Source() const { return source_; }
    const HtmlDocument& Document() const { return document_; }

    QString TitleText() const;
    QString DocumentTitle() const;
    QString MetaDescription() const;
    QString Headings(QStringView tag) const;
    QString ReadableText() const;
    // The same, with observer following the rendering of the parse the text
    // comes from (a page whose cut changes its parse is parsed again, and the
    // observer then sees a second Begin).
    QString ReadableText(RenderObserver* observer) const;
    // The distinct words of ReadableText().
    QString Words() const;

private:
    // Whether the body text of the one parse, up to *cut, is the readable
    // text; when not, the prepared source must be parsed on its own.
    bool SharedParseServes(std::size_t* cut) const;

    QString source_;
    HtmlDocument document_;
};

}  // namespace lexicrawl
