#include "spelling/oxt_parser.h"

#include <QStringList>

#include "platform/text.h"

namespace lexicrawl {

namespace {

enum State { Outside = 0, InName = 1, InAttributes = 2, InText = 3 };

bool IsSpace(char c)
{
    return c == 9 || c == 10 || c == 13 || c == 32;
}

void Append(OxtNode* node, int state, char c)
{
    switch (state) {
    case InName: node->name.append(c); break;
    case InAttributes: node->attr.append(c); break;
    case InText: node->value.append(c); break;
    default: break;
    }
}

}  // namespace

OxtParser::OxtParser(const QByteArray& source) : codepage_(kDefaultAnsiCodepage)
{
    root_ = std::make_unique<OxtNode>(this);
    Parse(source);
}

OxtParser::~OxtParser() = default;

void OxtParser::Clear()
{
    root_ = std::make_unique<OxtNode>(this);
}

void OxtParser::Parse(const QByteArray& source)
{
    Clear();
    exceeded_ = false;
    int nodes = 0;
    OxtNode* current = root_.get();
    int state = Outside;
    char quote = 0;
    const qsizetype n = source.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = source[i];
        if (quote) {
            if (c == quote) {
                quote = 0;
                if (state == InAttributes && !current->attr.isEmpty())
                    current->attr.append("\r\n");
            } else {
                Append(current, state, IsSpace(c) ? ' ' : c);
            }
            continue;
        }
        if (IsSpace(c)) {
            if (state == InName)
                state = InAttributes;
            else if (state == InText)
                current->value.append(' ');
        } else if (c == '"' || c == '\'') {
            if (state == InText) {
                current->value.append(c);
            } else {
                if (state == InName)
                    state = InAttributes;
                quote = c;
            }
        } else if (c == '/') {
            if (state == InText) {
                current->value.append(c);
            } else {
                if (current->parent)
                    current = current->parent;
                state = Outside;
            }
        } else if (c == '<') {
            if (state == InAttributes) {
                current->attr.append(c);
            } else if (state == Outside || state == InText) {
                if (i + 1 < n && source[i + 1] == '/') {
                    state = Outside;
                } else {
                    if (++nodes > kMaxNodes || current->level + 1 >= kMaxDepth) {
                        exceeded_ = true;
                        break;
                    }
                    current = current->AddChild();
                    state = InName;
                }
            }
        } else if (c == '>') {
            if (state == InName || state == InAttributes)
                state = InText;
        } else {
            Append(current, state, c);
        }
    }
    DeriveCodepage();
}

void OxtParser::DeriveCodepage()
{
    codepage_ = kDefaultAnsiCodepage;
    const OxtNode* first = GetFirst();
    if (!first)
        return;
    const QString enc = first->Attrib(QStringLiteral("encoding")).toLower();
    static const struct { const char* suffix; uint16_t cp; } isoParts[] = {
        {"1", 28591}, {"2", 28592}, {"3", 28593}, {"4", 28594}, {"5", 28595}, {"6", 28596},
        {"7", 28597}, {"8", 28598}, {"9", 28599}, {"13", 28603}, {"15", 28605}};
    for (const auto& part : isoParts) {
        const QString suffix = QString::fromLatin1(part.suffix);
        if (enc == QStringLiteral("iso-8859-") + suffix || enc == QStringLiteral("iso8859-") + suffix)
            codepage_ = part.cp;
    }
    if (enc == QStringLiteral("koi8-r") || enc == QStringLiteral("koi8-u"))
        codepage_ = 20866;
}

OxtNode* OxtParser::GetFirst() const
{
    return root_->items.empty() ? nullptr : root_->items.front().get();
}

OxtNode* OxtParser::GetNext(const OxtNode* node) const
{
    if (!node)
        return nullptr;
    return const_cast<OxtNode*>(node->NextBelow(root_.get()));
}

QString OxtParser::AsText() const
{
    QString out;
    for (const OxtNode* n = GetFirst(); n; n = GetNext(n)) {
        const int level = std::max(0, n->level);
        out += QString(std::min(4 * level, 32), QLatin1Char(' ')) + QStringLiteral("NODE: ")
               + n->Name() + QStringLiteral(" VALUE: ") + n->Value() + QStringLiteral("\r\n");
        const QString attrIndent(std::min(6 * level, 32), QLatin1Char(' '));
        for (const QString& line : SplitLines(QString::fromLatin1(n->attr)))
            out += attrIndent + QStringLiteral("ATTR: ") + line + QStringLiteral("\r\n");
    }
    return out;
}

}  // namespace lexicrawl
