#pragma once
// Turns the small XML documents of a dictionary package into a tree of
// OxtNode elements in one pass over the bytes. It validates nothing and never
// fails: declarations and comments are read as elements that stay open, an
// end tag closes one level whatever its name, and text after a child element
// is not kept. Names keep their prefixes ("oor:name").
//
// A document of a package is a few dozen elements; one made to cost memory
// (a "<" is an element, so a 64 MiB member could hold tens of millions) is
// read only up to kMaxNodes elements and kMaxDepth levels, and Exceeded()
// says the tree stops short.
//
// Thread-safety: none; a parser and its nodes belong to one thread.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>

#include "spelling/oxt_node.h"

namespace lexicrawl {

class OxtParser {
public:
    static constexpr int kMaxNodes = 100'000;
    static constexpr int kMaxDepth = 1'000;

    explicit OxtParser(const QByteArray& source);
    ~OxtParser();
    OxtParser(const OxtParser&) = delete;
    OxtParser& operator=(const OxtParser&) = delete;

    OxtNode* Root() const { return root_.get(); }
    void Clear();
    OxtNode* GetFirst() const;
    // Next node in document order after node; null after the last one.
    OxtNode* GetNext(const OxtNode* node) const;
    // Dump of the whole tree, one line per node and per attribute line.
    QString AsText() const;
    // Code page named by the declared encoding. Text is always decoded as
    // UTF-8; this is kept for callers that want to know the declaration.
    uint16_t Codepage() const { return codepage_; }
    // The document holds more elements, or deeper ones, than are read.
    bool Exceeded() const { return exceeded_; }

private:
    void Parse(const QByteArray& source);
    void DeriveCodepage();

    std::unique_ptr<OxtNode> root_;
    bool utf8Encoded = true;
    bool exceeded_ = false;
    uint16_t codepage_;
};

// The system's 8-bit code page when a document names none we know.
constexpr uint16_t kDefaultAnsiCodepage = 1252;

}  // namespace lexicrawl
