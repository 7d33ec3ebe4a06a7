#include <gtest/gtest.h>

#include <QCollator>
#include <QLocale>

#include <algorithm>

#include "qstring_printer.h"
#include "analysis/readable_text.h"
#include "platform/text.h"

using namespace lexicrawl;

namespace {
QString S(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// The collation follows the user's locale; the tests fix one.
class Words : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};
}  // namespace

TEST_F(Words, SplitAtEveryNonWordCharacter)
{
    struct Case {
        const char* text;
        QStringList words;
    } cases[] = {
        {"Don't stop", {"don", "stop", "t"}},
        {"Don\xE2\x80\x99t", {"don", "t"}},
        {"well-known well_known", {"known", "well"}},
        {"Paris paris PARIS", {"paris"}},
        {"\xC3\x89lan \xC3\xA9lan", {S("\xC3\x89lan"), S("\xC3\xA9lan")}},
        {"3\xC3\x97" "4", {S("3\xC3\x97" "4")}},
        {"3*4", {"3", "4"}},
        {"do\xC4\x9Fru", {"do", "ru"}},
        {"abc", {"abc"}},
        {"a 2024 mp3", {"2024", "a", "mp3"}},
        {"line\r\nbreak\ttab", {"break", "line", "tab"}},
        {"\xC5\x91rz\xC5\x91 stra\xC3\x9F" "e", {"rz", S("stra\xC3\x9F" "e")}},
        {"", {}},
        {" .,;!? ", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtractWords(S(c.text)), JoinLines(c.words)) << c.text;
}

TEST_F(Words, SortCaseInsensitivelyInTheLocaleCollation)
{
    EXPECT_EQ(ExtractWords(S("zebra \xC3\x89" "clair apple Eat \xC3\xA9" "clair")),
              JoinLines({"apple", "eat", S("\xC3\x89" "clair"), S("\xC3\xA9" "clair"), "zebra"}));
}

// The order is the collation's own comparison, ties broken by code units,
// over words that differ in case, accents, digits and length.
TEST_F(Words, OrderEqualsTheCollationsComparison)
{
    const QStringList pieces = {S("a"), S("\xC3\xA1"), S("B"), S("b"), S("\xC3\xA9"), S("E"), S("z"), S("1"),
                                S("\xC3\x9F"), S("o"), S("\xC3\xB6"), S("'"), S("n")};
    QString text;
    uint32_t state = 12345;
    auto next = [&state](uint32_t below) {
        state = state * 1103515245u + 12345u;
        return (state >> 16) % below;
    };
    for (int i = 0; i < 400; ++i) {
        QString w;
        for (uint32_t k = 0, n = 1 + next(5); k < n; ++k)
            w += pieces[next(uint32_t(pieces.size()))];
        text += w + QLatin1Char(' ');
    }
    QStringList expected = SplitLines(ExtractWords(text));
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(expected.begin(), expected.end(), [&collator](const QString& a, const QString& b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    ASSERT_GT(expected.size(), 50);
    EXPECT_EQ(SplitLines(ExtractWords(text)), expected);
}
