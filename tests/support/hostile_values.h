#pragma once
// Texts that try to break an SQL statement or a text encoding: quotes,
// backslashes, comment and statement breakers, NUL characters, unpaired
// surrogates, non-characters and a value of a million characters.
#include <QString>

#include <utility>
#include <vector>

namespace lexicrawl::testing {

inline std::vector<std::pair<const char*, QString>> HostileValues()
{
    auto with = [](std::initializer_list<char16_t> units) {
        QString s;
        for (const char16_t u : units)
            s += QChar(u);
        return s;
    };
    QString big;
    big.reserve(1'000'000);
    while (big.size() < 1'000'000 - 16)
        big += QStringLiteral("a'b\\c\"d;-- e\r\n");
    big += QChar(u'\0');
    big += QChar(0xDC80);
    return {
        {"quotes", QStringLiteral("O'Brien's ''doubled'' \"double\" `tick`")},
        {"statement-breakers", QStringLiteral("x'); DROP TABLE PAGES; -- /* */")},
        {"backslashes", QStringLiteral("C:\\path\\to\\file \\' \\\\")},
        {"nul-inside", with({u'a', 0, u'b'})},
        {"nul-only", with({0, 0})},
        {"nul-and-quote", with({u'\'', 0, u'\''})},
        {"lone-high-surrogate", with({u'x', 0xD83D, u'y'})},
        {"lone-low-surrogate", with({0xDC80, u'z', 0xDFFF})},
        {"reversed-pair", with({0xDE00, 0xD83D})},
        {"valid-pair-and-nonchars", with({0xD83D, 0xDE00, 0xFFFE, 0xFFFF, 0xFEFF})},
        {"leading-byte-order-mark", with({0xFEFF, u'b', u'o', u'm'})},
        {"mark-after-lone-surrogate", with({0xDDDD, 0xFEFF, 0xFFFF})},
        {"line-breaks", QStringLiteral("a\r\nb\rc\nd\t")},
        {"empty", QString()},
        {"million", big},
    };
}

}  // namespace lexicrawl::testing
