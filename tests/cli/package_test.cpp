// The Debian package as a user gets it: packed from this build, unpacked into
// a scratch root, and its programs run from there with a home of their own.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <httplib.h>

#include <thread>

#include "support/loopback_server.h"
#include "support/qt_printers.h"

namespace {

struct Result {
    int exitCode = -1;
    QString out, err;
};

class PackageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scratch_.isValid());
        root_ = scratch_.filePath(QStringLiteral("root"));
        home_ = scratch_.filePath(QStringLiteral("home"));
        ASSERT_TRUE(QDir().mkpath(home_));
    }

    Result Run(const QString& program, const QStringList& args, int timeoutMs = 120000)
    {
        QProcess p;
        p.setProcessEnvironment(Environment());
        p.start(program, args);
        EXPECT_TRUE(p.waitForFinished(timeoutMs)) << program.toStdString();
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    QProcessEnvironment Environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home_);
        env.remove(QStringLiteral("XDG_DATA_HOME"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }
    // Every file under the folder, relative to it.
    static QStringList Files(const QString& folder)
    {
        QStringList files;
        for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
            files << QDir(folder).relativeFilePath(it.next());
        files.sort();
        return files;
    }
    QString DataFolder() const { return home_ + QStringLiteral("/.local/share/NORVANE/Lexicrawl"); }

    QTemporaryDir scratch_;
    QString root_, home_;
};

TEST_F(PackageTest, PackedInstalledAndRun)
{
    // Packed from the existing build: nothing is compiled again.
    const QString packages = scratch_.filePath(QStringLiteral("packages"));
    Result r = Run(QStringLiteral("cpack"), {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), packages,
                                             QStringLiteral("--config"),
                                             QStringLiteral(LEXICRAWL_BUILD_DIR "/CPackConfig.cmake")});
    ASSERT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
    const QStringList debs = QDir(packages).entryList({QStringLiteral("lexicrawl_*.deb")}, QDir::Files);
    ASSERT_EQ(debs.size(), 1);
    const QString deb = packages + QLatin1Char('/') + debs.first();

    // Depends names the run-time libraries, every one a package this machine has.
    r = Run(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), deb, QStringLiteral("Depends")});
    ASSERT_EQ(r.exitCode, 0);
    for (QString dependency : r.out.trimmed().split(QStringLiteral(", "))) {
        dependency = dependency.section(QLatin1Char(' '), 0, 0);
        EXPECT_FALSE(dependency.endsWith(QStringLiteral("-dev"))) << dependency.toStdString();
        const Result installed = Run(QStringLiteral("dpkg-query"), {QStringLiteral("-W"), dependency});
        EXPECT_EQ(installed.exitCode, 0) << dependency.toStdString() << " is not a package here";
    }
    for (const char* library : {"libqt6widgets6", "libhunspell", "libcurl4", "libsqlite3"})
        EXPECT_TRUE(r.out.contains(QLatin1String(library))) << r.out.toStdString();

    r = Run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, root_});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList unpacked = Files(root_);
    const QString cli = root_ + QStringLiteral("/usr/bin/lexicrawl-cli");
    const QString window = root_ + QStringLiteral("/usr/bin/lexicrawl");

    r = Run(cli, {QStringLiteral("--version")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("NORVANE - Lexicrawl "))) << r.out.toStdString();

    r = Run(cli, {QStringLiteral("dictionaries")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("English (United States)\ten_US.oxt"))) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Shipped dictionaries: ") + root_ + QStringLiteral("/usr/share/lexicrawl/Dictionaries")))
        << r.err.toStdString();

    // A crawl of the fixture site on the loopback interface.
    lexicrawl::testing::LoopbackServer server;
    server.Routes().set_mount_point("/site", LEXICRAWL_TEST_DATA "/cli/site");
    server.Start();
    r = Run(cli, {QStringLiteral("crawl"), server.Url(QStringLiteral("/site/index.html")),
                  QStringLiteral("--dictionary"),
                  QStringLiteral("English (United States)"), QStringLiteral("--format"), QStringLiteral("json"),
                  QStringLiteral("--quiet")});
    server.Stop();
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject crawl = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_GT(crawl.value(QStringLiteral("summary")).toObject().value(QStringLiteral("pagesFetched")).toInt(), 1)
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"beens\""))) << r.out.toStdString();

    // The window comes up on the offscreen platform: once shown it lists the
    // shipped dictionaries and remembers the chosen one in the per-user
    // settings.ini, and stays up.
    QProcess gui;
    gui.setProcessEnvironment(Environment());
    gui.start(window, {});
    ASSERT_TRUE(gui.waitForStarted(10000));
    bool shown = false;
    for (int i = 0; i < 300 && !shown && gui.state() == QProcess::Running; ++i) {
        QThread::msleep(100);
        QFile settings(DataFolder() + QStringLiteral("/settings.ini"));
        shown = settings.open(QIODevice::ReadOnly) &&
                settings.readAll().contains("DictionaryLanguage=English (United States)");
    }
    EXPECT_TRUE(shown) << gui.readAllStandardError().toStdString();
    EXPECT_EQ(gui.state(), QProcess::Running);
    gui.terminate();
    if (!gui.waitForFinished(10000)) {
        gui.kill();
        gui.waitForFinished(5000);
    }

    // Nothing was written beside the installed files.
    EXPECT_EQ(Files(root_), unpacked);
    EXPECT_TRUE(QFile::exists(DataFolder() + QStringLiteral("/Dictionaries")));
}

}  // namespace
