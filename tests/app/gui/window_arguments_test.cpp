// The window's command line: the data folder option, and what is left for
// the window to open or crawl.
#include <gtest/gtest.h>

#include <QProcess>

#include "app/gui/window_arguments.h"
#include "support/qt_printers.h"

using namespace lexicrawl::gui;

namespace {

TEST(WindowArguments, TheDataFolderIsTakenOutAndTheRestKept)
{
    const struct {
        QStringList arguments;
        QString dataFolder;
        QStringList rest;
        bool error;
    } cases[] = {
        {{}, {}, {}, false},
        {{"http://example.com/"}, {}, {"http://example.com/"}, false},
        {{"--data-folder", "/tmp/profile a", "my", "project.db"}, "/tmp/profile a", {"my", "project.db"}, false},
        {{"https://example.com/", "--data-folder=/tmp/b"}, "/tmp/b", {"https://example.com/"}, false},
        {{"--data-folder"}, {}, {}, true},
        {{"--data-folder="}, {}, {}, true},
    };
    for (const auto& c : cases) {
        const WindowArguments parsed = ParseWindowArguments(c.arguments);
        const std::string where = c.arguments.join(u'|').toStdString();
        EXPECT_EQ(!parsed.error.isEmpty(), c.error) << where;
        if (c.error)
            continue;
        EXPECT_EQ(parsed.dataFolder, c.dataFolder) << where;
        EXPECT_EQ(parsed.rest, c.rest) << where;
    }
}

// New Project, the batch and the restart keep the profile they were started from.
TEST(WindowArguments, NewInstancesAreGivenTheSameDataFolder)
{
    EXPECT_EQ(NewInstanceArguments(QString(), QString()), QStringList());
    EXPECT_EQ(NewInstanceArguments(QString(), "https://example.com/"), QStringList{"https://example.com/"});
    EXPECT_EQ(NewInstanceArguments("/tmp/p/", "my project.db"),
              (QStringList{"--data-folder", "/tmp/p/", "my project.db"}));
    EXPECT_EQ(NewInstanceArguments("/tmp/p/", QString()), (QStringList{"--data-folder", "/tmp/p/"}));
}

TEST(WindowArguments, AMissingFolderEndsTheProgramWithAMessage)
{
    QProcess program;
    program.setProcessEnvironment([] {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return environment;
    }());
    program.start(QStringLiteral(LEXICRAWL_BIN_DIR "/lexicrawl"), {QStringLiteral("--data-folder")});
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_TRUE(QString::fromLocal8Bit(program.readAllStandardError()).contains(QStringLiteral("--data-folder needs a folder")));
}

}  // namespace
