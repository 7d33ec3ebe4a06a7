#pragma once
// The words of prose as a reader reads them: cut at white space, with the
// punctuation and quotes around a word left out, inner apostrophes and
// hyphens kept ("doesn't", "o'clock", "well-known", with the typographic
// apostrophe too) and the case as written. What is not a word of prose is
// left out whole: a token with a digit ("expression1", "400s"), a URL, an
// e-mail address, a path, a file name or dotted name ("config.yaml",
// "os.path"), an identifier (an underscore, or a capital right after a
// lower-case letter: "getAttrString") and code ("key=value", "f(x)", "C++").
// Punctuation without a space after it joins two words only on the page:
// "and/or", "end,start" and "end.The" are two words each.
//
// Thread-safety: stateless; safe from any thread.
#include <QStringView>

#include <functional>

namespace lexicrawl {

// Calls onWord with each word of text, in order, repeats included.
void CutProseWords(QStringView text, const std::function<void(QStringView word)>& onWord);

}  // namespace lexicrawl
