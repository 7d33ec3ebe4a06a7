#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

#include "app/core/data_folder.h"
#include "support/qt_printers.h"

using namespace lexicrawl;

TEST(DataFolder, WritableProgramFolderIsUsedAndTheProbeIsGone)
{
    QTemporaryDir program, roaming;
    const QString folder = DecideDataFolder(program.path(), roaming.path());
    EXPECT_EQ(folder, program.path() + QLatin1Char('/'));
    EXPECT_FALSE(QFile::exists(program.filePath(QStringLiteral("chk.tmp"))));
    EXPECT_FALSE(QDir(roaming.filePath(QStringLiteral("NORVANE"))).exists());
}

TEST(DataFolder, ExistingProbeMeansNotWritable)
{
    QTemporaryDir program, roaming;
    QFile probe(program.filePath(QStringLiteral("chk.tmp")));
    ASSERT_TRUE(probe.open(QIODevice::WriteOnly));
    probe.close();
    const QString folder = DecideDataFolder(program.path(), roaming.path() + QLatin1Char('/'));
    EXPECT_EQ(folder, roaming.path() + QStringLiteral("/NORVANE/Lexicrawl/"));
    EXPECT_TRUE(QDir(folder).exists());  // created on first use
    EXPECT_TRUE(probe.exists());         // someone else's file is left alone
}

TEST(DataFolder, ReadOnlyProgramFolderFallsBackToPerUserFolder)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root can write into a read-only folder";
    QTemporaryDir program, roaming;
    ASSERT_TRUE(QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner));
    const QString folder = DecideDataFolder(program.path(), roaming.path());
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(folder, roaming.path() + QStringLiteral("/NORVANE/Lexicrawl/"));
}

TEST(DataFolder, MissingProgramFolderFallsBackToPerUserFolder)
{
    QTemporaryDir roaming;
    const QString folder = DecideDataFolder(roaming.filePath(QStringLiteral("no/such/folder")), roaming.path());
    EXPECT_EQ(folder, roaming.path() + QStringLiteral("/NORVANE/Lexicrawl/"));
}
