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

OxtNode::OxtNode(OxtParser* reader) : FReader(reader) {}

OxtNode::~OxtNode()
{
    // Unclosed declarations and comments nest whole documents, so a hostile
    // one can be as deep as it is long: free the subtree without recursion.
    std::vector<std::unique_ptr<OxtNode>> pending = std::move(FItems);
    while (!pending.empty()) {
        std::unique_ptr<OxtNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->FItems)
            pending.push_back(std::move(child));
        node->FItems.clear();
    }
}

QString OxtNode::Name() const { return DecodeText(FName); }
QString OxtNode::Value() const { return DecodeText(FValue); }
QString OxtNode::Attr() const { return DecodeText(FAttr); }

QString OxtNode::ParentName() const
{
    return FParent ? FParent->Name() : QString();
}

OxtNode* OxtNode::AddChild()
{
    auto child = std::make_unique<OxtNode>(FReader);
    child->FParent = this;
    child->FLevel = FLevel + 1;
    child->FIndex = FItems.size();
    FItems.push_back(std::move(child));
    return FItems.back().get();
}

const OxtNode* OxtNode::NextBelow(const OxtNode* top) const
{
    if (!FItems.empty())
        return FItems.front().get();
    const OxtNode* node = this;
    while (node != top && node->FParent) {
        const auto& siblings = node->FParent->FItems;
        if (node->FIndex + 1 < siblings.size())
            return siblings[node->FIndex + 1].get();
        node = node->FParent;
    }
    return nullptr;
}

OxtNode* OxtNode::NodeByName(const QString& aName) const
{
    for (const OxtNode* n = NextBelow(this); n; n = n->NextBelow(this)) {
        if (n->Name() == aName)
            return const_cast<OxtNode*>(n);
    }
    return nullptr;
}

void OxtNode::NodesByName(const QString& aName, QList<OxtNode*>& aList) const
{
    for (const OxtNode* n = NextBelow(this); n; n = n->NextBelow(this)) {
        if (n->Name() == aName)
            aList.append(const_cast<OxtNode*>(n));
    }
}

QString OxtNode::Attrib(const QString& aName) const
{
    qsizetype pos = 0;
    while (pos < FAttr.size()) {
        qsizetype end = pos;
        while (end < FAttr.size() && FAttr[end] != '\r' && FAttr[end] != '\n')
            ++end;
        const QByteArray line = FAttr.mid(pos, end - pos);
        const qsizetype eq = line.indexOf('=');
        if (eq >= 0 && SameTextAZ(QString::fromUtf8(line.left(eq)), aName))
            return DecodeText(line.mid(eq + 1));
        pos = end;
        if (pos < FAttr.size() && FAttr[pos] == '\r')
            ++pos;
        if (pos < FAttr.size() && FAttr[pos] == '\n')
            ++pos;
    }
    return {};
}

}  // namespace lexicrawl
