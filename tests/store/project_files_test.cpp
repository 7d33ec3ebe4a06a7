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
