// Values that try to break the SQL or the text encoding come back from the
// store exactly as they went in: written, read, saved to a project file and
// read again from it.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "store/project_database.h"
#include "store/project_files.h"
#include "store/sql_quote.h"
#include "support/hostile_values.h"
#include "support/project_instance.h"
#include "support/qt_printers.h"
#include "support/recording_platform.h"

using namespace lexicrawl;
using Instance = lexicrawl::testing::ProjectInstance;
using lexicrawl::testing::HostileValues;
using lexicrawl::testing::RecordingPlatform;

namespace {

QString Single(ProjectDatabase& db, const QString& sql)
{
    const std::vector<QStringList> rows = db.QueryAll(sql);
    return rows.size() == 1 ? rows[0].value(0) : QStringLiteral("<%1 rows>").arg(rows.size());
}

}  // namespace

TEST(HostileValues, SqlQuoteKeepsEveryValueOneLiteralOrExpression)
{
    EXPECT_EQ(SqlQuote(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
    QString nul = QStringLiteral("a");
    nul += QChar(u'\0');
    nul += QStringLiteral("'b");
    EXPECT_EQ(SqlQuote(nul), QStringLiteral("('a'||char(0)||'''b')"));
}

TEST(HostileValues, RoundTripThroughWriteReadSaveAndOpen)
{
    RecordingPlatform platform;
    Instance instance;
    ProjectDatabase& db = instance.db;
    ASSERT_TRUE(db.PrepareForCrawl(DatabaseLocation::File));
    const auto values = HostileValues();
    for (const auto& [name, value] : values) {
        SCOPED_TRACE(name);
        const QString key = QString::fromLatin1(name);
        db.Execute(QStringLiteral("insert into PAGES (URL,TITLE,DESCRIPTION) values (") + SqlQuote(key) +
                   QLatin1Char(',') + SqlQuote(value) + QStringLiteral(",'');"));
        // Update and lookup put the value on the other side of the statement.
        db.Execute(QStringLiteral("update PAGES SET DESCRIPTION=") + SqlQuote(value) + QStringLiteral(" where URL=") +
                   SqlQuote(key) + QLatin1Char(';'));
        db.Execute(QStringLiteral("insert into TAGS (URL,TAG,VALUE) values (") + SqlQuote(value) + QStringLiteral(",'H1',") +
                   SqlQuote(value) + QStringLiteral(");"));
        EXPECT_EQ(Single(db, QStringLiteral("SELECT TITLE FROM PAGES where URL=") + SqlQuote(key) + QLatin1Char(';')),
                  value);
        EXPECT_EQ(Single(db, QStringLiteral("SELECT DESCRIPTION FROM PAGES where TITLE=") + SqlQuote(value) +
                                 QLatin1Char(';')),
                  value);
        EXPECT_EQ(Single(db, QStringLiteral("SELECT VALUE FROM TAGS where URL=") + SqlQuote(value) + QLatin1Char(';')),
                  value);
    }
    EXPECT_TRUE(platform.Messages().isEmpty()) << platform.Messages().join(u'\n').left(500).toStdString();

    const QString saved = instance.data.filePath(QStringLiteral("saved.db"));
    ASSERT_TRUE(SaveProjectAs(db, saved, nullptr));
    Instance other;
    QStringList urls;
    ASSERT_TRUE(OpenProjectFile(other.db, saved, &urls));
    ASSERT_EQ(urls.size(), qsizetype(values.size()));
    for (const auto& [name, value] : values) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Single(other.db, QStringLiteral("SELECT TITLE FROM PAGES where URL=") +
                                       SqlQuote(QString::fromLatin1(name)) + QLatin1Char(';')),
                  value);
    }
}
