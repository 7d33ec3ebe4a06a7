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

    OxtNode* Parent() const { return FParent; }
    QString Name() const;
    QString Value() const;
    QString Attr() const;
    QString ParentName() const;
    int Level() const { return FLevel; }
    const std::vector<std::unique_ptr<OxtNode>>& Items() const { return FItems; }

    // First descendant (not this node) named exactly aName, in document order.
    OxtNode* NodeByName(const QString& aName) const;
    // Appends every descendant named aName, in document order, to aList.
    void NodesByName(const QString& aName, QList<OxtNode*>& aList) const;
    // Decoded value of the attribute aName (name compared without regard to
    // case); empty when absent.
    QString Attrib(const QString& aName) const;

    // The node after this one in document order, staying below top (null
    // at the end of top's subtree).
    const OxtNode* NextBelow(const OxtNode* top) const;
    OxtNode* AddChild();

    OxtParser* FReader;
    QByteArray FName;
    QByteArray FValue;
    QByteArray FAttr;
    std::vector<std::unique_ptr<OxtNode>> FItems;
    OxtNode* FParent = nullptr;
    int FLevel = -1;
    std::size_t FIndex = 0;  // position among the parent's children
};

// UTF-8 decoding, then "&amp;", "&lt;", "&gt;", "&apos;", "&quot;" replaced
// in that order, A-Z case ignored.
QString DecodeText(const QByteArray& bytes);

}  // namespace lexicrawl
