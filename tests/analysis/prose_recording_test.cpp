// What a prose crawl writes and how its unknown-word list reads back.
#include <gtest/gtest.h>

#include <QLocale>
#include <QSet>

#include "analysis/page_recorder.h"
#include "analysis/recording_pipeline.h"
#include "analysis/text_mode_record.h"
#include "analysis/unknown_word_list.h"
#include "qstring_printer.h"
#include "recording_platform.h"
#include "platform/serial_worker.h"
#include "store/project_database.h"
#include "store/sql_quote.h"

using namespace lexicrawl;

namespace {

const TextOptions kProse{TextMode::Prose, false};

class ProseRecordingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_TRUE(db.PrepareForCrawl(DatabaseLocation::Memory));
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    // English knows a few words as written; French none; no other language has a dictionary.
    PageRecorder Recorder()
    {
        PageRecorder recorder(db, [](const QStringList& words) { return std::vector<bool>(words.size(), true); });
        recorder.SetLanguageVerdicts([](const LanguageWords& words) -> std::optional<std::vector<bool>> {
            static const QSet<QString> english{"Paris", "is", "lovely", "The"};
            if (words.language != QLatin1String("en") && words.language != QLatin1String("fr") &&
                !words.language.isEmpty())
                return std::nullopt;
            std::vector<bool> known;
            for (const QString& w : words.words)
                known.push_back(words.language != QLatin1String("fr") && english.contains(w));
            return known;
        });
        return recorder;
    }

    QStringList Rows(const QString& sql)
    {
        QStringList rows;
        for (const QStringList& row : db.QueryAll(sql))
            rows << row.join(QLatin1Char('|'));
        return rows;
    }

    // MISSPELLED rows as a crawl writes them: word, page.
    void AddUnknown(const QList<std::pair<const char*, const char*>>& rows)
    {
        for (const auto& [word, url] : rows)
            db.Execute(QStringLiteral("insert into MISSPELLED (URL,WORD) values (%1,%2);")
                           .arg(SqlQuote(QString::fromUtf8(url)), SqlQuote(QString::fromUtf8(word))));
    }

    RecordingPlatform platform;
    ProjectDatabase db{QString(), QString()};
};

}  // namespace

TEST_F(ProseRecordingTest, WritesUnknownWordsAsWrittenAndCountsTextWithoutADictionary)
{
    PageRecorder recorder = Recorder();
    recorder.BeginCrawl(kProse);
    recorder.RecordPage(QStringLiteral("u1"),
                        QStringLiteral("<html lang=en><p>Paris is lovely, paris PARIS. Teh <span lang=la>carpe diem "
                                       "carpe</span> <q lang=fr>vie</q> <i lang=ja>x y</i></p>"));
    EXPECT_EQ(Rows("SELECT WORD, URL FROM MISSPELLED ORDER BY ID;"),
              QStringList({"paris|u1", "PARIS|u1", "Teh|u1", "vie|u1"}));
    EXPECT_EQ(Rows("SELECT URL, LANGUAGE, WORDS FROM SKIPPEDTEXT ORDER BY ID;"), QStringList({"u1|la|2", "u1|ja|2"}));
    const TextModeRecord record = ReadTextModeRecord(db);
    EXPECT_TRUE(record.options.Prose());
    EXPECT_FALSE(record.options.checkAltAndTitle);
    ASSERT_EQ(record.skipped.size(), 2u);
    EXPECT_EQ(record.skipped[0].language, QStringLiteral("ja"));  // equal words: by language
    EXPECT_EQ(record.skipped[1].pages, 1);
    EXPECT_EQ(record.skipped[1].words, 2);
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('\n').toStdString();
}

TEST_F(ProseRecordingTest, AStandardCrawlAddsNoTableAndReadsAsStandard)
{
    const QStringList before = Rows("SELECT name FROM sqlite_master ORDER BY name;");
    PageRecorder recorder = Recorder();
    recorder.BeginCrawl(TextOptions{TextMode::Standard, true});
    EXPECT_EQ(Rows("SELECT name FROM sqlite_master ORDER BY name;"), before);
    EXPECT_FALSE(ReadTextModeRecord(db).options.Prose());

    recorder.BeginCrawl(TextOptions{TextMode::Prose, true});
    EXPECT_EQ(Rows("SELECT NAME, VALUE FROM TEXTOPTIONS ORDER BY ID;"),
              QStringList({"TextMode|Prose", "CheckAltAndTitle|ON"}));
    EXPECT_TRUE(ReadTextModeRecord(db).options.checkAltAndTitle);
}

TEST_F(ProseRecordingTest, TheListOfAProseProjectMergesFormsThatDifferOnlyInCase)
{
    AddUnknown({{"javascript", "p1"}, {"Javascript", "p2"}, {"Javascript", "p3"}, {"javascript", "p2"},
                {"Javascript", "p4"},
                {"Teh", "p1"}, {"teh", "p4"}, {"\xC3\x89lan", "p1"}, {"\xC3\xA9lan", "p5"}, {"zzz", "p1"},
                {"zzz", "p1"}});
    Recorder().BeginCrawl(kProse);
    std::vector<UnknownWord> words;
    ASSERT_TRUE(LoadUnknownWords(db, words, nullptr, true));
    QStringList shown;
    for (const UnknownWord& w : words)
        shown << QStringLiteral("%1 %2 [%3] (%4)").arg(w.word).arg(w.occurrence).arg(w.pages.join(' '), w.forms.join(' '));
    EXPECT_EQ(shown, QStringList({
                         // p2 has both forms: counted once. The form on most pages captions the row.
                         "Javascript 4 [p1 p2 p3 p4] (Javascript javascript)",
                         // A tie goes to the form found first; a page recorded twice counts twice.
                         "Teh 2 [p1 p4] (Teh teh)",
                         QString::fromUtf8("\xC3\x89lan 2 [p1 p5] (\xC3\x89lan \xC3\xA9lan)"),
                         "zzz 2 [p1 p1] ()",
                     }));
}

TEST_F(ProseRecordingTest, TheListOfAStandardProjectKeepsEveryForm)
{
    AddUnknown({{"Javascript", "p1"}, {"javascript", "p2"}});
    std::vector<UnknownWord> words;
    ASSERT_TRUE(LoadUnknownWords(db, words, nullptr, true));
    ASSERT_EQ(words.size(), 2u);
    EXPECT_TRUE(words[0].forms.isEmpty());
    EXPECT_EQ(words[0].pages.size(), 1);
}

TEST_F(ProseRecordingTest, TheWholeTextIsCountedOncePerPageAndPerCrawl)
{
    // The whole text's words, code included, are split on the reader threads
    // of a pipeline and by the recorder itself otherwise: the same counts.
    PageRecorder recorder = Recorder();
    SerialWorker worker{2};
    RecordingPipeline pipeline(worker, recorder, 2);
    CrawlOptions options;
    options.text = TextOptions{TextMode::Prose, false, true};
    pipeline.BeginCrawl(options);
    const QString page = QStringLiteral("<p>Call fstat on the file.</p><pre>fstat(fd, &amp;st); fstat</pre>");
    ASSERT_TRUE(pipeline.RecordPage(QStringLiteral("u1"), page));
    ASSERT_TRUE(pipeline.RecordPage(QStringLiteral("u2"), page + QStringLiteral("<p>Also lstat.</p>")));
    EXPECT_EQ(pipeline.Finish(), QString());
    const QString counts = QStringLiteral("SELECT WORD, PAGES FROM SITETEXTWORDS ORDER BY WORD;");
    const QStringList piped = Rows(counts);
    EXPECT_EQ(piped, QStringList({"also|1", "call|2", "fd|2", "file|2", "fstat|2", "lstat|1", "on|2", "st|2", "the|2"}));

    recorder.BeginCrawl(options.text);
    recorder.RecordPage(QStringLiteral("u1"), page);
    recorder.RecordPage(QStringLiteral("u2"), page + QStringLiteral("<p>Also lstat.</p>"));
    recorder.EndCrawl();
    // A second crawl of the same recorder counts its own pages alone.
    EXPECT_EQ(Rows(counts), piped);
}
