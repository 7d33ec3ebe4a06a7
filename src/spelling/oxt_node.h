#pragma once
// One element of a document read by OxtParser: its name, attribute block and
// text kept as the document's raw bytes, decoded (UTF-8, five entities) only
// when asked for.
//
// Thread-safety: none; a node belongs to its parser's thread.
#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

namespace lexicrawl {

class OxtParser;

class OxtNode {
public:
    explicit OxtNode(OxtParser* reader);
    ~OxtNode();
    OxtNode(const OxtNode&) = delete;
    OxtNode& operator=(const OxtNode&) = delete;

    OxtNode* Parent() const { return parent; }
    QString Name() const;
    QString Value() const;
    QString Attr() const;
    QString ParentName() const;
    int Level() const { return level; }
    const std::vector<std::unique_ptr<OxtNode>>& Items() const { return items; }

    // First descendant (not this node) named exactly wanted, in document order.
    OxtNode* NodeByName(const QString& wanted) const;
    // Appends every descendant named wanted, in document order, to found.
    void NodesByName(const QString& wanted, QList<OxtNode*>& found) const;
    // Decoded value of the attribute wanted (name compared without regard to
    // case); empty when absent.
    QString Attrib(const QString& wanted) const;

    // The node after this one in document order, staying below top (null
    // at the end of top's subtree).
    const OxtNode* NextBelow(const OxtNode* top) const;
    OxtNode* AddChild();

    OxtParser* reader;
    QByteArray name;
    QByteArray value;
    QByteArray attr;
    std::vector<std::unique_ptr<OxtNode>> items;
    OxtNode* parent = nullptr;
    int level = -1;
    std::size_t index = 0;  // position among the parent's children
};

// UTF-8 decoding, then "&amp;", "&lt;", "&gt;", "&apos;", "&quot;" replaced
// in that order, A-Z case ignored.
QString DecodeText(const QByteArray& bytes);

}  // namespace lexicrawl
