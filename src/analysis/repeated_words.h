#pragma once
// Words written twice in a row ("the the"), found in the text as a reader
// reads it: across inline tags and line breaks (<br>, a wrapped source
// line), never across the end of a block (a heading and the paragraph after
// it) and never inside code.
//
// Thread-safety: one finder per rendering; FindRepeatedWords is stateless.
#include <QString>

#include <string>
#include <vector>

#include "analysis/render_observer.h"

namespace lexicrawl {

struct RepeatedWord {
    QString word;     // as first written
    QString context;  // the words around the pair, on one line
};

class RepeatedWordFinder : public RenderObserver {
public:
    void Begin(const GumboInternalNode* root, std::size_t cutOffset) override;
    void Enter(const GumboInternalNode* element, std::size_t offset) override;
    void Leave(const GumboInternalNode* element, std::size_t offset) override;
    void End(const std::string& text) override;

    // The pairs of the last rendering, in text order.
    std::vector<RepeatedWord> Take() { return std::move(found_); }

private:
    struct Boundary {
        std::size_t offset;
        bool codeStarts;  // a code element begins here (else one ends, or a block edge)
        bool codeEnds;
    };
    std::vector<Boundary> boundaries_;
    std::vector<RepeatedWord> found_;
};

// The pairs of a passage that holds no block edge.
std::vector<RepeatedWord> FindRepeatedWords(const QString& passage);

}  // namespace lexicrawl
