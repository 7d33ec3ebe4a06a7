#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

#include "app/core/app_environment.h"
#include "app/core/data_folder.h"
#include "platform/headless_platform.h"
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
    QTemporaryDir program, roaming;
    // Root writes into a read-only folder; no one can make a file in /proc.
    const bool root = geteuid() == 0;
    const QString readOnly = root ? QStringLiteral("/proc") : program.path();
    if (!root) {
        ASSERT_TRUE(QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner));
    }
    const QString folder = DecideDataFolder(readOnly, roaming.path());
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(folder, roaming.path() + QStringLiteral("/NORVANE/Lexicrawl/"));
}

TEST(DataFolder, MissingProgramFolderFallsBackToPerUserFolder)
{
    QTemporaryDir roaming;
    const QString folder = DecideDataFolder(roaming.filePath(QStringLiteral("no/such/folder")), roaming.path());
    EXPECT_EQ(folder, roaming.path() + QStringLiteral("/NORVANE/Lexicrawl/"));
}

// A program whose run-time files lie in a folder of its own, installed or not.
class FolderPlatform : public HeadlessPlatform {
public:
    FolderPlatform(QString program, QString roaming, bool installed)
        : program_(std::move(program)), roaming_(std::move(roaming)), installed_(installed)
    {
    }
    QString ProgramFolder() const override { return program_ + QLatin1Char('/'); }
    QString RoamingDataFolder() const override { return roaming_ + QLatin1Char('/'); }
    bool IsInstalled() const override { return installed_; }

private:
    QString program_, roaming_;
    bool installed_;
};

// Installed, the program never writes where its shared files lie, even when
// it could (as root); run from its build folder it keeps its files beside
// itself and reads one dictionaries folder.
TEST(DataFolder, InstalledProgramKeepsItsFilesInThePerUserFolder)
{
    for (const bool installed : {true, false}) {
        SCOPED_TRACE(installed ? "installed" : "build folder");
        QTemporaryDir program, roaming;
        const QString shipped = program.filePath(QStringLiteral("Dictionaries"));
        ASSERT_TRUE(QDir().mkpath(shipped));
        const QStringList before = QDir(program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        {
            FolderPlatform platform(program.path(), roaming.path(), installed);
            AppEnvironment environment(platform);
            ASSERT_TRUE(environment.settings().SetRaw(QStringLiteral("PageLimit"), QStringLiteral("7")));
            const QString perUser = roaming.path() + QStringLiteral("/NORVANE/Lexicrawl/");
            if (installed) {
                EXPECT_EQ(environment.DataFolder(), perUser);
                EXPECT_EQ(environment.UserDictionariesFolder(), perUser + QStringLiteral("Dictionaries"));
                EXPECT_TRUE(QDir(environment.UserDictionariesFolder()).exists());
                EXPECT_EQ(environment.DictionaryFolders(),
                          (QStringList{perUser + QStringLiteral("Dictionaries"), environment.DictionariesFolder()}));
                EXPECT_TRUE(QFile::exists(perUser + QStringLiteral("settings.ini")));
            } else {
                EXPECT_EQ(environment.DataFolder(), program.path() + QLatin1Char('/'));
                EXPECT_EQ(environment.DictionaryFolders(), QStringList{environment.DictionariesFolder()});
            }
        }
        if (installed) {
            EXPECT_EQ(QDir(program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        }
    }
}
