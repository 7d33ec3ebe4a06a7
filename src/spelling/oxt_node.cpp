#include "spelling/oxt_node.h"

#include "platform/text.h"

namespace lexicrawl {

namespace {

QString ReplaceAllAZ(QString text, const QString& what, const QString& with)
{
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = IndexOfAZ(text, what, from);
        if (at < 0)
            return text;
        text.replace(at, what.size(), with);
        from = at + with.size();
    }
}

}  // namespace

QString DecodeText(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (!text.contains(QLatin1Char('&')))
        return text;
    text = ReplaceAllAZ(text, QStringLiteral("&amp;"), QStringLiteral("&"));
    text = ReplaceAllAZ(text, QStringLiteral("&lt;"), QStringLiteral("<"));
    text = ReplaceAllAZ(text, QStringLiteral("&gt;"), QStringLiteral(">"));
    text = ReplaceAllAZ(text, QStringLiteral("&apos;"), QStringLiteral("'"));
    return ReplaceAllAZ(text, QStringLiteral("&quot;"), QStringLiteral("\""));
}

OxtNode::OxtNode(OxtParser* owner) : reader(owner) {}

OxtNode::~OxtNode()
{
    // Unclosed declarations and comments nest whole documents, so a hostile
    // one can be as deep as it is long: free the subtree without recursion.
    std::vector<std::unique_ptr<OxtNode>> pending = std::move(items);
    while (!pending.empty()) {
        std::unique_ptr<OxtNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->items)
            pending.push_back(std::move(child));
        node->items.clear();
    }
}

QString OxtNode::Name() const { return DecodeText(name); }
QString OxtNode::Value() const { return DecodeText(value); }
QString OxtNode::Attr() const { return DecodeText(attr); }

QString OxtNode::ParentName() const
{
    return parent ? parent->Name() : QString();
}

OxtNode* OxtNode::AddChild()
{
    auto child = std::make_unique<OxtNode>(reader);
    child->parent = this;
    child->level = level + 1;
    child->index = items.size();
    items.push_back(std::move(child));
    return items.back().get();
}

const OxtNode* OxtNode::NextBelow(const OxtNode* top) const
{
    if (!items.empty())
        return items.front().get();
    const OxtNode* node = this;
    while (node != top && node->parent) {
        const auto& siblings = node->parent->items;
        if (node->index + 1 < siblings.size())
            return siblings[node->index + 1].get();
        node = node->parent;
    }
    return nullptr;
}

OxtNode* OxtNode::NodeByName(const QString& wanted) const
{
    for (const OxtNode* n = NextBelow(this); n; n = n->NextBelow(this)) {
        if (n->Name() == wanted)
            return const_cast<OxtNode*>(n);
    }
    return nullptr;
}

void OxtNode::NodesByName(const QString& wanted, QList<OxtNode*>& found) const
{
    for (const OxtNode* n = NextBelow(this); n; n = n->NextBelow(this)) {
        if (n->Name() == wanted)
            found.append(const_cast<OxtNode*>(n));
    }
}

QString OxtNode::Attrib(const QString& wanted) const
{
    qsizetype pos = 0;
    while (pos < attr.size()) {
        qsizetype end = pos;
        while (end < attr.size() && attr[end] != '\r' && attr[end] != '\n')
            ++end;
        const QByteArray line = attr.mid(pos, end - pos);
        const qsizetype eq = line.indexOf('=');
        if (eq >= 0 && SameTextAZ(QString::fromUtf8(line.left(eq)), wanted))
            return DecodeText(line.mid(eq + 1));
        pos = end;
        if (pos < attr.size() && attr[pos] == '\r')
            ++pos;
        if (pos < attr.size() && attr[pos] == '\n')
            ++pos;
    }
    return {};
}

}  // namespace lexicrawl
