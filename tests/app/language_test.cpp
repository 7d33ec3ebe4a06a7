#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/core/language.h"
#include "app/core/settings.h"
#include "support/qt_printers.h"

using namespace lexicrawl;

namespace {

void Write(const QString& path, const QByteArray& body)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(body);
}

struct LanguagesFolder {
    QTemporaryDir dir;
    LanguagesFolder()
    {
        Write(dir.filePath("German.lang.txt"),
              "\xEF\xBB\xBF; comment line\r\n{Start}Starten\r\n{start}klein\r\n{Exit}\r\n{Start}Zweite\r\n"
              "{Total URLs: %s}URLs gesamt: %s\n{OK} Gut \r{INFO:Translated By}Anna, Ben\r\n");
        Write(dir.filePath("Turkish.lang.txt"), "{OK}Tamam\r\n{Start}Ba\xC5\x9Flat\r\n");
        Write(dir.filePath("LanguageCodes.csv"), "no comma here\r\n 1031 , german.LANG.txt \r\n1055,Turkish.lang.txt\r\n");
    }
    QString path() const { return dir.path(); }
};

}  // namespace

TEST(Language, LookupRules)
{
    LanguagesFolder f;
    Language lang;
    lang.Load(f.path(), QStringLiteral("German.lang.txt"), 0);
    EXPECT_EQ(lang.LanguageName(), QStringLiteral("German"));
    struct Case {
        const char* key;
        const char* expected;
    } cases[] = {
        {"Start", "Starten"},        // first line of a key wins
        {"start", "klein"},          // keys are case-sensitive
        {"Exit", "Exit"},            // empty translation keeps English
        {"Total URLs: %s", "URLs gesamt: %s"},
        {"OK", " Gut "},             // kept as it is, spaces included
        {"Stop", "Stop"},            // no line
        {"Sta", "Sta"},              // a prefix of a key is not a key
    };
    for (const Case& c : cases)
        EXPECT_EQ(lang.Translate(QString::fromUtf8(c.key)), QString::fromUtf8(c.expected)) << c.key;
    EXPECT_EQ(Language::CreditLookup(lang.Lines(), QStringLiteral("INFO:Translated By")), QStringLiteral("Anna, Ben"));
    EXPECT_EQ(Language::CreditLookup(lang.Lines(), QStringLiteral("Exit")), QString());
    EXPECT_EQ(Language::CreditLookup({}, QStringLiteral("INFO:Translated By")), QStringLiteral("INFO:Translated By"));
}

TEST(Language, ChoiceAtStartUp)
{
    LanguagesFolder f;
    struct Case {
        const char* setting;
        int uiLanguage;
        const char* name;
    } cases[] = {
        {"Turkish.lang.txt", 1031, "Turkish"},  // the setting wins over the system language
        {"", 1031, "German"},                   // codes file, file name in another case
        {"  ", 1055, "Turkish"},
        {"", 1033, ""},                         // no line for the system language
        {"English.lang.txt", 1031, ""},          // a missing file keeps English
        {"turkish.lang.txt", 0, "Turkish"},
    };
    for (const Case& c : cases) {
        Language lang;
        lang.Load(f.path(), QString::fromUtf8(c.setting), c.uiLanguage);
        EXPECT_EQ(lang.LanguageName(), QString::fromUtf8(c.name)) << c.setting << " " << c.uiLanguage;
    }
    Language none;
    none.Load(f.dir.filePath(QStringLiteral("missing")), QString(), 1031);
    EXPECT_EQ(none.Translate(QStringLiteral("Start")), QStringLiteral("Start"));
    EXPECT_TRUE(none.LanguageFiles().isEmpty());
}

TEST(Language, LanguageFilesAreListedAndTheSystemChoiceIsNotStored)
{
    LanguagesFolder f;
    QDir(f.path()).mkdir(QStringLiteral("Folder.lang.txt"));  // folders are skipped
    QTemporaryDir data;
    Settings settings(data.path());
    Language lang;
    lang.Load(f.path(), settings.LanguageFile(), 1055);
    EXPECT_EQ(lang.LanguageFiles(), QStringList({QStringLiteral("German.lang.txt"), QStringLiteral("Turkish.lang.txt")}));
    EXPECT_EQ(lang.Translate(QStringLiteral("OK")), QStringLiteral("Tamam"));
    EXPECT_FALSE(settings.Has(QStringLiteral("LanguageFile")));
    ASSERT_TRUE(SetLanguageFile(settings, QStringLiteral("German.lang.txt")));
    EXPECT_EQ(Settings(data.path()).LanguageFile(), QStringLiteral("German.lang.txt"));
}

TEST(Language, TranslatorServesTheLookupEverywhere)
{
    LanguagesFolder f;
    Language lang;
    lang.Load(f.path(), QStringLiteral("German.lang.txt"), 0);
    SetTranslator(&lang);
    EXPECT_EQ(Tr(QStringLiteral("Total URLs: %s")).replace(QLatin1String("%s"), QStringLiteral("3")),
              QStringLiteral("URLs gesamt: 3"));
    SetTranslator(nullptr);
    EXPECT_EQ(Tr(QStringLiteral("Start")), QStringLiteral("Start"));
}

// The languages that ship beside the program translate the same keys, keep
// every "%s", and are found from the system language through the codes file.
TEST(Language, ShippedLanguagesAreComplete)
{
    const QString folder = QStringLiteral(LEXICRAWL_BIN_DIR "/Languages");
    auto keysOf = [&](const QString& file) {
        QStringList keys;
        for (const QString& line : Language::ReadLines(folder + QLatin1Char('/') + file))
            if (line.startsWith(QLatin1Char('{')))
                keys << line.mid(1, line.indexOf(QLatin1Char('}')) - 1);
        return keys;
    };
    const QStringList german = keysOf(QStringLiteral("German.lang.txt"));
    EXPECT_GE(german.size(), 90);
    EXPECT_EQ(german, keysOf(QStringLiteral("Turkish.lang.txt")));
    for (const auto& [id, name] : {std::pair{1031, "German"}, std::pair{1055, "Turkish"}}) {
        Language lang;
        lang.Load(folder, QString(), id);
        ASSERT_EQ(lang.LanguageName(), QString::fromLatin1(name));
        for (const QString& key : german) {
            if (key == QLatin1String("INFO:Translated By"))
                continue;
            const QString t = lang.Translate(key);
            EXPECT_FALSE(t.isEmpty()) << key.toStdString();
            EXPECT_EQ(t.count(QLatin1String("%s")), key.count(QLatin1String("%s"))) << key.toStdString();
        }
    }
}
