#include <gtest/gtest.h>

#include <QProcess>

TEST(Cli, VersionPrintsTitleAndVersion)
{
    QProcess p;
    p.start(QStringLiteral(LEXICRAWL_BIN_DIR "/lexicrawl-cli"), {QStringLiteral("--version")});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(p.readAllStandardOutput().startsWith("NORVANE - Lexicrawl 1.0"));
}
