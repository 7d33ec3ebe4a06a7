#include "analysis/repeated_words.h"

#include <gumbo.h>

#include <algorithm>

namespace lexicrawl {

namespace {

bool IsCode(const GumboNode* element)
{
    switch (element->v.element.tag) {
    case GUMBO_TAG_CODE: case GUMBO_TAG_PRE: case GUMBO_TAG_KBD: case GUMBO_TAG_SAMP: case GUMBO_TAG_VAR:
    case GUMBO_TAG_TT: case GUMBO_TAG_XMP: case GUMBO_TAG_LISTING: case GUMBO_TAG_PLAINTEXT:
    case GUMBO_TAG_TEXTAREA: case GUMBO_TAG_MATH:
        return true;
    default:
        return false;
    }
}

// Elements whose start and end a reader sees as the end of a passage.
bool IsBlock(const GumboNode* element)
{
    switch (element->v.element.tag) {
    case GUMBO_TAG_P: case GUMBO_TAG_DIV: case GUMBO_TAG_H1: case GUMBO_TAG_H2: case GUMBO_TAG_H3:
    case GUMBO_TAG_H4: case GUMBO_TAG_H5: case GUMBO_TAG_H6: case GUMBO_TAG_LI: case GUMBO_TAG_UL:
    case GUMBO_TAG_OL: case GUMBO_TAG_DL: case GUMBO_TAG_DT: case GUMBO_TAG_DD: case GUMBO_TAG_TABLE:
    case GUMBO_TAG_TR: case GUMBO_TAG_TD: case GUMBO_TAG_TH: case GUMBO_TAG_CAPTION: case GUMBO_TAG_SECTION:
    case GUMBO_TAG_ARTICLE: case GUMBO_TAG_HEADER: case GUMBO_TAG_FOOTER: case GUMBO_TAG_NAV:
    case GUMBO_TAG_ASIDE: case GUMBO_TAG_BLOCKQUOTE: case GUMBO_TAG_FIGURE: case GUMBO_TAG_FIGCAPTION:
    case GUMBO_TAG_MAIN: case GUMBO_TAG_FORM: case GUMBO_TAG_FIELDSET: case GUMBO_TAG_LEGEND:
    case GUMBO_TAG_HR: case GUMBO_TAG_ADDRESS: case GUMBO_TAG_DETAILS: case GUMBO_TAG_SUMMARY:
    case GUMBO_TAG_BODY: case GUMBO_TAG_OPTION: case GUMBO_TAG_SELECT: case GUMBO_TAG_BUTTON:
    case GUMBO_TAG_IMG:
        return true;
    default:
        return false;
    }
}

bool IsWordChar(QChar ch)
{
    return ch.isLetter() || ch.isMark();
}

}  // namespace

std::vector<RepeatedWord> FindRepeatedWords(const QString& passage)
{
    std::vector<RepeatedWord> found;
    qsizetype previousStart = -1, previousEnd = -1;
    qsizetype i = 0;
    const qsizetype n = passage.size();
    while (i < n) {
        if (!IsWordChar(passage.at(i))) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < n && (IsWordChar(passage.at(i)) ||
                         ((passage.at(i) == u'\'' || passage.at(i) == u'-') && i + 1 < n &&
                          IsWordChar(passage.at(i + 1)))))
            ++i;
        // A digit joined to the word makes it a token, not a word.
        const bool token = (start > 0 && passage.at(start - 1).isDigit()) || (i < n && passage.at(i).isDigit());
        bool repeated = false;
        if (previousStart >= 0 && !token) {
            const QStringView gap = QStringView(passage).mid(previousEnd, start - previousEnd);
            const bool onlySpace = std::all_of(gap.begin(), gap.end(), [](QChar c) { return c.isSpace(); });
            repeated = onlySpace && QStringView(passage).mid(previousStart, previousEnd - previousStart)
                                            .compare(QStringView(passage).mid(start, i - start), Qt::CaseInsensitive) == 0;
        }
        if (repeated) {
            const qsizetype from = std::max<qsizetype>(0, previousStart - 30);
            const qsizetype to = std::min<qsizetype>(n, i + 30);
            QString context = passage.mid(from, to - from).simplified();
            found.push_back({passage.mid(previousStart, previousEnd - previousStart), context});
            previousStart = -1;  // "the the the" is one finding
        } else {
            previousStart = token ? -1 : start;
            previousEnd = i;
        }
    }
    return found;
}

void RepeatedWordFinder::Begin(const GumboInternalNode*, std::size_t)
{
    boundaries_.clear();
    found_.clear();
}

void RepeatedWordFinder::Enter(const GumboInternalNode* element, std::size_t offset)
{
    if (element->type != GUMBO_NODE_ELEMENT)
        return;
    // <br> only breaks the line: the passage goes on.
    if (IsCode(element))
        boundaries_.push_back({offset, true, false});
    else if (IsBlock(element))
        boundaries_.push_back({offset, false, false});
}

void RepeatedWordFinder::Leave(const GumboInternalNode* element, std::size_t offset)
{
    if (element->type != GUMBO_NODE_ELEMENT)
        return;
    if (IsCode(element))
        boundaries_.push_back({offset, false, true});
    else if (IsBlock(element))
        boundaries_.push_back({offset, false, false});
}

void RepeatedWordFinder::End(const std::string& text)
{
    std::stable_sort(boundaries_.begin(), boundaries_.end(),
                     [](const Boundary& a, const Boundary& b) { return a.offset < b.offset; });
    std::size_t begin = 0;
    int code = 0;
    auto passage = [&](std::size_t end) {
        if (code == 0 && end > begin) {
            for (RepeatedWord& r : FindRepeatedWords(QString::fromUtf8(text.data() + begin, qsizetype(end - begin))))
                found_.push_back(std::move(r));
        }
    };
    for (const Boundary& b : boundaries_) {
        const std::size_t at = std::min(b.offset, text.size());
        passage(at);
        begin = at;
        if (b.codeStarts)
            ++code;
        if (b.codeEnds && code > 0)
            --code;
    }
    passage(text.size());
}

}  // namespace lexicrawl
