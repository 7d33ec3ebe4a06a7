#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "store/project_database.h"
#include "store/sql_quote.h"
#include "support/qt_printers.h"
#include "support/recording_platform.h"

using namespace lexicrawl;
using lexicrawl::testing::RecordingPlatform;

namespace {

// A program folder with the built template, and a separate data folder.
struct Folders {
    QTemporaryDir program, data;
    Folders() { QFile::copy(QStringLiteral(LEXICRAWL_BIN_DIR "/empty.db"), program.filePath("empty.db")); }
};

QStringList MasterSql(ProjectDatabase& db)
{
    QStringList out;
    db.Query(QStringLiteral("SELECT sql FROM sqlite_master WHERE sql IS NOT NULL AND name <> 'sqlite_sequence' ORDER BY rowid;"),
             [&](const Row& r) { out << r.Value(QStringLiteral("sql")) + QLatin1Char(';'); });
    return out;
}

}  // namespace

TEST(ProjectDatabase, SchemaStatementsAreExact)
{
    const QStringList& s = SchemaStatements();
    ASSERT_EQ(s.size(), 9);
    EXPECT_EQ(s[0], QStringLiteral("CREATE TABLE \"LINKS\" (\"ID\"\tINTEGER PRIMARY KEY AUTOINCREMENT,\"URL\"\tTEXT,"
                                   "\"LINK\"\tTEXT,\"FOLLOW\"\tTEXT,\"TYPE\"\tTEXT,\"ANCHOR\"\tTEXT);"));
    EXPECT_EQ(s[1], QStringLiteral("CREATE TABLE MISSPELLED (ID INTEGER PRIMARY KEY AUTOINCREMENT, WORD TEXT, URL TEXT);"));
    EXPECT_EQ(s[2], QStringLiteral("CREATE TABLE PAGES (ID INTEGER PRIMARY KEY AUTOINCREMENT, URL TEXT, TITLE TEXT, "
                                   "DESCRIPTION TEXT, H1TAG TEXT);"));
    EXPECT_EQ(s[3], QStringLiteral("CREATE TABLE \"TAGS\" (\"ID\"\tINTEGER PRIMARY KEY AUTOINCREMENT,\"URL\"\tTEXT,"
                                   "\"TAG\"\tTEXT,\"VALUE\"\tTEXT);"));
    EXPECT_EQ(s[4], QStringLiteral("CREATE INDEX \"LINKS_URL\" ON \"LINKS\" (\"URL\");"));
    EXPECT_EQ(s[5], QStringLiteral("CREATE INDEX MISSPELLED_URL ON MISSPELLED (URL);"));
    EXPECT_EQ(s[6], QStringLiteral("CREATE INDEX PAGES_DESCRIPTION ON PAGES (DESCRIPTION);"));
    EXPECT_EQ(s[7], QStringLiteral("CREATE INDEX PAGES_TITLE ON PAGES (TITLE);"));
    EXPECT_EQ(s[8], QStringLiteral("CREATE INDEX PAGES_URL ON PAGES (\"URL\");"));
}

TEST(ProjectDatabase, TemplateAndMemoryHoldTheSameSchema)
{
    RecordingPlatform platform;
    Folders f;
    ProjectDatabase file(f.data.path(), f.program.path());
    file.ChooseWorkingFile();
    ASSERT_TRUE(file.PrepareForCrawl(DatabaseLocation::File));
    ProjectDatabase memory(f.data.path(), f.program.path());
    ASSERT_TRUE(memory.PrepareForCrawl(DatabaseLocation::Memory));
    EXPECT_EQ(MasterSql(file), SchemaStatements());
    EXPECT_EQ(MasterSql(memory), SchemaStatements());
    EXPECT_EQ(memory.CaptionSuffix(), QStringLiteral(" (Database: memory)"));
    EXPECT_EQ(file.CaptionSuffix(), QStringLiteral(" (Database: ") + file.WorkingFilePath() + QLatin1Char(')'));
    EXPECT_TRUE(platform.Messages().isEmpty());
}

TEST(ProjectDatabase, WorkingFileNameIsRandomFreeAndPerStore)
{
    Folders f;
    ProjectDatabase a(f.data.path(), f.program.path()), b(f.data.path(), f.program.path());
    a.ChooseWorkingFile();
    b.ChooseWorkingFile();
    EXPECT_NE(a.WorkingFilePath(), b.WorkingFilePath());
    const QRegularExpression name(QStringLiteral("/project(0|[1-9][0-9]{0,5})\\.db$"));
    EXPECT_TRUE(name.match(a.WorkingFilePath()).hasMatch()) << a.WorkingFilePath().toStdString();
    EXPECT_FALSE(QFile::exists(a.WorkingFilePath()));  // choosing makes no file

    // Starting one store's crawl never touches the other's file.
    ASSERT_TRUE(a.PrepareForCrawl(DatabaseLocation::File));
    ASSERT_TRUE(b.PrepareForCrawl(DatabaseLocation::File));
    a.Execute(QStringLiteral("insert into PAGES (URL) values ('a');"));
    ASSERT_TRUE(b.PrepareForCrawl(DatabaseLocation::File));
    EXPECT_EQ(a.QueryAll(QStringLiteral("SELECT URL FROM PAGES;")).size(), 1u);
    a.Close();
    EXPECT_FALSE(QFile::exists(a.WorkingFilePath()));
    EXPECT_TRUE(QFile::exists(b.WorkingFilePath()));
}

TEST(ProjectDatabase, SecondStartBeginsFromAFreshTemplate)
{
    Folders f;
    ProjectDatabase db(f.data.path(), f.program.path());
    db.ChooseWorkingFile();
    ASSERT_TRUE(db.PrepareForCrawl(DatabaseLocation::File));
    db.Execute(QStringLiteral("insert into PAGES (URL) values ('x');"));
    ASSERT_TRUE(db.PrepareForCrawl(DatabaseLocation::File));
    EXPECT_TRUE(db.QueryAll(QStringLiteral("SELECT URL FROM PAGES;")).empty());
    // Then memory: the working file is gone and the schema is built in memory.
    ASSERT_TRUE(db.PrepareForCrawl(DatabaseLocation::Memory));
    EXPECT_FALSE(QFile::exists(db.WorkingFilePath()));
    EXPECT_EQ(MasterSql(db).size(), 9);
}

// Every memory project is its own database, and a new crawl starts empty.
TEST(ProjectDatabase, MemoryProjectsAreSeparateAndStartEmpty)
{
    ProjectDatabase a{QString(), QString()}, b{QString(), QString()};
    ASSERT_TRUE(a.PrepareForCrawl(DatabaseLocation::Memory));
    ASSERT_TRUE(b.PrepareForCrawl(DatabaseLocation::Memory));
    a.Execute(QStringLiteral("insert into PAGES (URL) values ('a');"));
    EXPECT_EQ(a.QueryAll(QStringLiteral("SELECT URL FROM PAGES;")).size(), 1u);
    EXPECT_TRUE(b.QueryAll(QStringLiteral("SELECT URL FROM PAGES;")).empty());
    ASSERT_TRUE(a.PrepareForCrawl(DatabaseLocation::Memory));
    EXPECT_TRUE(a.QueryAll(QStringLiteral("SELECT URL FROM PAGES;")).empty());
    EXPECT_EQ(MasterSql(a).size(), 9);
}

TEST(ProjectDatabase, QuotedValuesSurviveIntactAndNullReadsEmpty)
{
    ProjectDatabase db{QString(), QString()};
    ASSERT_TRUE(db.PrepareForCrawl(DatabaseLocation::Memory));
    const QStringList values = {QStringLiteral("O'Brien's"), QStringLiteral("''"), QStringLiteral("a\r\nb"),
                                QStringLiteral("\u00C9l\u00E0n \U0001F600"), QStringLiteral("x'); DROP TABLE PAGES; --")};
    for (const QString& v : values)
        db.Execute(QStringLiteral("insert into PAGES (URL,TITLE) values (") + SqlQuote(v) + QStringLiteral(",'t');"));
    QStringList back, h1;
    db.Query(QStringLiteral("SELECT * FROM PAGES;"), [&](const Row& r) {
        back << r.Value(QStringLiteral("URL"));
        h1 << r.Value(QStringLiteral("H1TAG"));
    });
    EXPECT_EQ(back, values);
    EXPECT_EQ(h1, QStringList(values.size(), QString()));
    EXPECT_EQ(SqlQuote(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
}

// A statement with its values apart stores byte for byte what its text
// does: quotes, NUL, a lone surrogate, a leading U+FEFF, the empty value;
// and it keeps working across a fresh database, where it is prepared anew.
TEST(ProjectDatabase, BoundValuesStoreWhatTheStatementTextStores)
{
    ProjectDatabase db{QString(), QString()};
    const QStringList values = {QStringLiteral("O'Brien's"), QString(), QStringLiteral("a") + QChar(u'\0') + "b",
                                QString(QChar(0xD800)) + "x", QStringLiteral("\uFEFFword"),
                                QStringLiteral("\u00C9l\u00E0n \U0001F600"), QStringLiteral("x'); DROP TABLE PAGES; --")};
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(db.PrepareForCrawl(DatabaseLocation::Memory));
        for (const QString& v : values) {
            const BoundStatement insert{"insert into MISSPELLED (URL,WORD) values (?,?);", {QStringLiteral("bound"), v}};
            db.Execute(insert);
            db.Execute(BoundStatement{insert.sql, {QStringLiteral("text"), v}}.Text());
        }
        const auto rows = db.QueryAll(QStringLiteral(
            "SELECT b.WORD, hex(b.WORD) = hex(t.WORD) FROM MISSPELLED b JOIN MISSPELLED t ON t.ID = b.ID + 1 "
            "WHERE b.URL = 'bound' ORDER BY b.ID;"));
        ASSERT_EQ(rows.size(), size_t(values.size()));
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].value(0), values[qsizetype(i)]) << i;
            EXPECT_EQ(rows[i].value(1), QStringLiteral("1")) << i;
        }
    }
    EXPECT_EQ((BoundStatement{"insert into T (A,B) values (?,?);", {QStringLiteral("O'B"), QString()}}.Text()),
              QStringLiteral("insert into T (A,B) values ('O''B','');"));
    try {
        db.Execute(BoundStatement{"insert into NOPE values (?);", {QStringLiteral("a")}});
        FAIL() << "no error";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.Text(), QStringLiteral("no such table: NOPE"));
    }
}

// Many rows through one prepared insert store what the statement text
// stores, the count as an integer, and read back as they went in.
TEST(ProjectDatabase, BulkInsertStoresWhatTheStatementTextStores)
{
    ProjectDatabase db{QString(), QString()};
    ASSERT_TRUE(db.PrepareForCrawl(DatabaseLocation::Memory));
    db.Execute(QStringLiteral("CREATE TABLE COUNTS (WORD TEXT, PAGES INTEGER);"));
    const QStringList values = {QStringLiteral("O'Brien's"), QString(), QStringLiteral("a") + QChar(u'\0') + "b",
                                QString(QChar(0xD800)) + "x", QStringLiteral("\uFEFFword"),
                                QStringLiteral("\u00C9l\u00E0n \U0001F600")};
    {
        Transaction transaction(db);
        BulkInsert insert(db, "insert into COUNTS (WORD,PAGES) values (?,?);");
        for (qsizetype i = 0; i < values.size(); ++i)
            insert.Row(values.at(i), 4'000'000'000LL + i);
        transaction.Commit();
    }
    for (qsizetype i = 0; i < values.size(); ++i)
        db.Execute(BoundStatement{"insert into COUNTS (WORD,PAGES) values (?,?);",
                                  {values.at(i), QString::number(4'000'000'000LL + i)}});
    const auto rows = db.QueryAll(QStringLiteral(
        "SELECT count(*), sum(typeof(PAGES) = 'integer') FROM COUNTS GROUP BY hex(WORD), PAGES ORDER BY PAGES;"));
    ASSERT_EQ(rows.size(), size_t(values.size()));
    for (const QStringList& row : rows)
        EXPECT_EQ(row, QStringList({"2", "2"}));

    QStringList words;
    db.QueryTextCounts(QStringLiteral("SELECT WORD, PAGES FROM COUNTS WHERE rowid <= 6 ORDER BY rowid;"),
                       [&](QString word, qint64 pages) {
                           EXPECT_EQ(pages, 4'000'000'000LL + words.size());
                           words << word;
                       });
    EXPECT_EQ(words, values);
    try {
        BulkInsert insert(db, "insert into NOPE values (?,?);");
        FAIL() << "no error";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.Text(), QStringLiteral("no such table: NOPE"));
    }
}

TEST(ProjectDatabase, FailuresCarrySqliteText)
{
    RecordingPlatform platform;
    Folders f;
    QFile::remove(f.program.filePath("empty.db"));  // template missing
    ProjectDatabase db(f.data.path(), f.program.path());
    db.ChooseWorkingFile();
    EXPECT_FALSE(db.PrepareForCrawl(DatabaseLocation::File));
    EXPECT_FALSE(QFile::exists(db.WorkingFilePath()));  // the open never creates the file
    ASSERT_EQ(platform.Messages().size(), 1);
    EXPECT_EQ(platform.Messages().first(), QStringLiteral("Exception raised with message:\r\runable to open database file"));
    EXPECT_EQ(db.SaveCopyTo(f.data.filePath("copy.db")), false);

    ASSERT_TRUE(db.PrepareForCrawl(DatabaseLocation::Memory));
    try {
        db.Execute(QStringLiteral("insert into NOPE values ('a');"));
        FAIL() << "no error";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.Text(), QStringLiteral("no such table: NOPE"));
        EXPECT_EQ(StatementFailureText(e.Text()), QStringLiteral("Exception raised with message: no such table: NOPE"));
    }
}

TEST(ProjectDatabase, SchemaBuildStopsAtTheFirstFailure)
{
    RecordingPlatform platform;
    ProjectDatabase db{QString(), QString()};
    ASSERT_TRUE(db.PrepareForCrawl(DatabaseLocation::Memory));
    db.Execute(QStringLiteral("DROP INDEX PAGES_TITLE;"));
    db.CreateEmptyTables();  // the first statement fails: LINKS exists
    ASSERT_EQ(platform.Messages().size(), 1);
    EXPECT_EQ(platform.Messages().first(), QStringLiteral("Exception raised with message: table \"LINKS\" already exists"));
    EXPECT_TRUE(db.QueryAll(QStringLiteral("SELECT name FROM sqlite_master WHERE name='PAGES_TITLE';")).empty());
}

TEST(ProjectDatabase, TransactionRollsBackUnlessCommitted)
{
    ProjectDatabase db{QString(), QString()};
    ASSERT_TRUE(db.PrepareForCrawl(DatabaseLocation::Memory));
    {
        Transaction t(db);
        db.Execute(QStringLiteral("insert into PAGES (URL) values ('gone');"));
    }
    {
        Transaction t(db);
        db.Execute(QStringLiteral("insert into PAGES (URL) values ('kept');"));
        t.Commit();
    }
    const auto rows = db.QueryAll(QStringLiteral("SELECT URL FROM PAGES;"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].first(), QStringLiteral("kept"));
}

TEST(ProjectDatabase, SaveCopyIsAConsistentProject)
{
    Folders f;
    ProjectDatabase db(f.data.path(), f.program.path());
    db.ChooseWorkingFile();
    ASSERT_TRUE(db.PrepareForCrawl(DatabaseLocation::File));
    db.Execute(QStringLiteral("insert into PAGES (URL) values ('http://a/');"));
    const QString dest = f.data.filePath("saved.db");
    QFile existing(dest);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("old");
    existing.close();
    QString error;
    ASSERT_TRUE(db.SaveCopyTo(dest, &error)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(dest + QStringLiteral(".part")));

    // Opened as another store's working file, the copy holds the row.
    ProjectDatabase other(f.data.path(), f.program.path());
    other.ChooseWorkingFile();
    ASSERT_TRUE(QFile::copy(dest, other.WorkingFilePath()));
    ASSERT_TRUE(other.OpenWorkingFile());
    EXPECT_EQ(other.QueryAll(QStringLiteral("SELECT URL FROM PAGES;")).size(), 1u);

    // A destination that cannot be written leaves a clear error.
    EXPECT_FALSE(db.SaveCopyTo(f.data.filePath("no/such/dir/x.db"), &error));
    EXPECT_FALSE(error.isEmpty());
}
