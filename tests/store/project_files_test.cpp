#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>

#include "store/project_database.h"
#include "store/project_files.h"
#include "store/sql_quote.h"
#include "support/project_instance.h"
#include "support/qt_printers.h"
#include "support/recording_platform.h"

using namespace lexicrawl;
using Instance = lexicrawl::testing::ProjectInstance;
using lexicrawl::testing::RecordingPlatform;

namespace {

QByteArray Digest(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

}  // namespace

TEST(ProjectFiles, SavedProjectOpensInAnotherInstanceAndStaysUntouched)
{
    RecordingPlatform platform;
    Instance first;
    ASSERT_TRUE(first.db.PrepareForCrawl(DatabaseLocation::File));
    for (const char* url : {"http://a.test/", "http://a.test/b", "http://a.test/c'd"})
        first.db.Execute(QStringLiteral("insert into PAGES (URL) values (") + SqlQuote(QString::fromUtf8(url)) + QStringLiteral(");"));
    const QString saved = first.data.filePath(QStringLiteral("saved project.db"));
    QString error;
    ASSERT_TRUE(SaveProjectAs(first.db, saved, &error)) << error.toStdString();
    QFile::setPermissions(saved, QFile::ReadOwner);  // a read-only project still opens
    const QByteArray before = Digest(saved);

    Instance second;
    QStringList urls;
    ASSERT_TRUE(OpenProjectFile(second.db, saved, &urls));
    EXPECT_EQ(urls, QStringList({QStringLiteral("http://a.test/"), QStringLiteral("http://a.test/b"),
                                 QStringLiteral("http://a.test/c'd")}));
    second.db.Execute(QStringLiteral("insert into MISSPELLED (URL,WORD) values ('x','y');"));  // works on the copy
    ASSERT_TRUE(second.db.PrepareForCrawl(DatabaseLocation::File));                        // Start discards it
    EXPECT_EQ(Digest(saved), before);
    EXPECT_TRUE(platform.Messages().isEmpty());
}

TEST(ProjectFiles, BadProjectFilesAreReportedAndLoadNothing)
{
    RecordingPlatform platform;
    Instance inst;
    const QString notProject = inst.data.filePath(QStringLiteral("notes.db"));
    QFile f(notProject);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    QStringList urls{QStringLiteral("stale")};
    EXPECT_FALSE(OpenProjectFile(inst.db, notProject, &urls));
    EXPECT_TRUE(urls.isEmpty());
    EXPECT_EQ(platform.Messages().value(0), QStringLiteral("Exception raised with message: file is not a database"));

    EXPECT_FALSE(OpenProjectFile(inst.db, inst.data.filePath(QStringLiteral("missing.db")), &urls));
    EXPECT_EQ(platform.Messages().value(1), QStringLiteral("Exception raised with message:\r\runable to open database file"));
}

TEST(ProjectFiles, SaveWithoutWorkingFileSaysSo)
{
    Instance inst;
    ASSERT_TRUE(inst.db.PrepareForCrawl(DatabaseLocation::Memory));
    QString error;
    const QString dest = inst.data.filePath(QStringLiteral("out.db"));
    EXPECT_FALSE(SaveProjectAs(inst.db, dest, &error));
    EXPECT_EQ(error, QStringLiteral("No database file was found!"));
    EXPECT_FALSE(QFile::exists(dest));
}

// Files made to run something when read: each is refused, before any of it
// runs, with a message that says why, and the saved file stays as it was; a project of the
// program's own, with the tables it adds later, still opens.
TEST(ProjectFiles, HostileProjectFilesAreRefusedBeforeAnyOfItRuns)
{
    const struct {
        const char* what;
        const char* sql;      // run on a fresh project before it is saved
        const char* refusal;  // a part of the message; empty: the file opens
    } cases[] = {
        {"a project of the program's own",
         "CREATE TABLE IF NOT EXISTS APPROVED (WORD TEXT); insert into PAGES (URL) values ('http://a.test/');", ""},
        {"a view named PAGES with made-up rows",
         "DROP TABLE PAGES; CREATE VIEW PAGES AS SELECT 1 AS ID, 'http://made.up/' AS URL, '' AS TITLE, "
         "'' AS DESCRIPTION, '' AS H1TAG;",
         "it holds a view named PAGES"},
        {"an endless recursive view",
         "DROP TABLE PAGES; CREATE VIEW PAGES AS WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) "
         "SELECT x AS ID, x AS URL, x AS TITLE, x AS DESCRIPTION, x AS H1TAG FROM n;",
         "it holds a view named PAGES"},
        {"a view beside the real tables", "CREATE VIEW STATS AS SELECT COUNT(*) FROM PAGES;", "it holds a view named STATS"},
        {"a trigger on a table",
         "CREATE TRIGGER SPIN AFTER INSERT ON MISSPELLED BEGIN "
         "SELECT COUNT(*) FROM (WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) SELECT x FROM n); END;",
         "it holds a trigger named SPIN"},
        {"a table with other columns", "DROP TABLE PAGES; CREATE TABLE PAGES (ID INTEGER, URL TEXT);",
         "its table PAGES has the columns ID,URL instead of ID,URL,TITLE,DESCRIPTION,H1TAG"},
        {"a computed column",
         "DROP TABLE TAGS; CREATE TABLE TAGS (ID INTEGER PRIMARY KEY, URL TEXT, TAG TEXT, VALUE TEXT, "
         "X TEXT AS (upper(URL)));",
         "its table TAGS has the columns"},
        {"a table missing", "DROP TABLE LINKS;", "it has no table LINKS"},
        {"a value longer than any page",
         "insert into PAGES (URL) values (zeroblob(64 * 1024 * 1024 + 1));", "string or blob too big"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingPlatform platform;
        Instance maker;
        ASSERT_TRUE(maker.db.PrepareForCrawl(DatabaseLocation::File));
        maker.db.Execute(QString::fromUtf8(c.sql));
        const QString saved = maker.data.filePath(QStringLiteral("hostile.db"));
        ASSERT_TRUE(SaveProjectAs(maker.db, saved, nullptr));
        const QByteArray before = Digest(saved);

        Instance opener;
        QStringList urls;
        const bool opened = OpenProjectFile(opener.db, saved, &urls);
        EXPECT_EQ(Digest(saved), before);
        if (*c.refusal == '\0') {
            EXPECT_TRUE(opened);
            EXPECT_EQ(urls, QStringList({QStringLiteral("http://a.test/")}));
            EXPECT_TRUE(platform.Messages().isEmpty()) << platform.Messages().join(u'\n').toStdString();
            continue;
        }
        EXPECT_FALSE(opened);
        EXPECT_TRUE(urls.isEmpty());
        ASSERT_EQ(platform.Messages().size(), 1);
        EXPECT_TRUE(platform.Messages()[0].contains(QString::fromUtf8(c.refusal))) << platform.Messages()[0].toStdString();
        // Nothing of the file answers a statement afterwards.
        EXPECT_THROW(opener.db.QueryAll(QStringLiteral("SELECT URL FROM PAGES;")), DatabaseError);
    }
}

// The bound on a statement's work stops what a real table cannot be kept
// from: a query of this program's that would run far longer than the file
// could need.
TEST(ProjectFiles, AStatementOverAProjectFileHasBoundedWork)
{
    RecordingPlatform platform;
    Instance maker;
    ASSERT_TRUE(maker.db.PrepareForCrawl(DatabaseLocation::File));
    const QString saved = maker.data.filePath(QStringLiteral("small.db"));
    ASSERT_TRUE(SaveProjectAs(maker.db, saved, nullptr));
    Instance opener;
    QStringList urls;
    ASSERT_TRUE(OpenProjectFile(opener.db, saved, &urls));
    try {
        opener.db.QueryAll(QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) "
                                          "SELECT COUNT(*) FROM n;"));
        ADD_FAILURE() << "an endless statement ended";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.Text(), QStringLiteral("interrupted"));
    }
    // A fresh crawl's database is not bounded.
    ASSERT_TRUE(opener.db.PrepareForCrawl(DatabaseLocation::Memory));
    EXPECT_EQ(opener.db.QueryAll(QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n "
                                                "LIMIT 3000000) SELECT COUNT(*) FROM n;"))[0][0],
              QStringLiteral("3000000"));
}
