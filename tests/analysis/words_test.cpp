#include <gtest/gtest.h>

#include <QLocale>

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
