// lexicrawl-cli killed with SIGKILL at random moments of a crawl: what it
// leaves behind (the settings, the working file) must still be read by the
// next start.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <httplib.h>
#include <sqlite3.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "support/loopback_server.h"

namespace {

const QString kCli = QStringLiteral(LEXICRAWL_BIN_DIR "/lexicrawl-cli");

// 400 small pages that link on, each answered after a few milliseconds.
class SlowSite {
public:
    SlowSite()
    {
        server_.Routes().Get(R"(/site/p(\d+)\.html)", [](const httplib::Request& req, httplib::Response& res) {
            const int i = std::stoi(req.matches[1]);
            std::this_thread::sleep_for(std::chrono::milliseconds(4));
            std::string body = "<html><head><title>Page " + std::to_string(i) + "</title></head><body><h1>Page</h1>"
                               "<p>Prune the roses in erly spring, the gardner said.</p>";
            for (int k = 1; k <= 3; ++k)
                body += "<a href=\"p" + std::to_string((i * 3 + k) % 400) + ".html\">next</a>\n";
            res.set_content(body + "</body></html>", "text/html");
        });
        server_.Start();
    }
    ~SlowSite()
    {
        server_.Stop();
    }
    QString Url() const { return server_.Url(QStringLiteral("/site/p0.html")); }

private:
    lexicrawl::testing::LoopbackServer server_;
};

QString IntegrityOf(const QString& path)
{
    sqlite3* db = nullptr;
    QString answer = QStringLiteral("cannot open");
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check;", -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            answer = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return answer;
}

TEST(CliKill, WhatAKilledCrawlLeavesBehindIsReadAgain)
{
    SlowSite site;
    QTemporaryDir data;
    QRandomGenerator random(20);
    for (int run = 0; run < 20; ++run) {
        QProcess crawl;
        crawl.start(kCli, {"crawl", site.Url(), "--limit", "400", "--quiet", "--data-folder", data.path(),
                           "--user-agent", QStringLiteral("run %1").arg(run)});
        ASSERT_TRUE(crawl.waitForStarted());
        std::this_thread::sleep_for(std::chrono::milliseconds(100 + random.bounded(900)));
        ::kill(pid_t(crawl.processId()), SIGKILL);
        crawl.waitForFinished();
    }
    const QStringList leftovers = QDir(data.path()).entryList({"project*.db"}, QDir::Files);
    EXPECT_FALSE(leftovers.isEmpty());
    for (const QString& name : leftovers) {
        const QString path = data.filePath(name);
        EXPECT_EQ(IntegrityOf(path), QStringLiteral("ok")) << name.toStdString();
        QProcess open;
        open.start(kCli, {"open", path, "--data-folder", data.path(), "--format", "csv"});
        ASSERT_TRUE(open.waitForFinished(30000));
        EXPECT_EQ(open.exitCode(), 0) << name.toStdString() << open.readAllStandardError().toStdString();
    }
    // The settings file is read by the next start, which still works.
    QProcess next;
    next.start(kCli, {"check", "--data-folder", data.path(), "--dictionary", "English (United States)", "garden"});
    ASSERT_TRUE(next.waitForFinished(30000));
    EXPECT_EQ(next.exitCode(), 0) << next.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(next.readAllStandardOutput()), QStringLiteral("garden\tknown\n"));
}

// A saved project big enough that opening it takes a while: many distinct
// unknown words, each on a page of its own.
bool MakeLargeProject(const QString& path)
{
    if (!QFile::copy(QStringLiteral(LEXICRAWL_BIN_DIR "/empty.db"), path))
        return false;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
    ok = ok && sqlite3_exec(db,
                            "BEGIN; WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n LIMIT 600000) "
                            "INSERT INTO MISSPELLED (WORD, URL) SELECT 'wurd' || x, 'http://a.test/p' || (x % 5000) FROM n; "
                            "COMMIT;",
                            nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// Outside a crawl nothing is left to stop gently: the first SIGTERM or
// Ctrl-C ends the program at once and removes its working copies.
TEST(CliKill, TheFirstSignalEndsOpenAndDiffAtOnce)
{
    QTemporaryDir data;
    const QString project = data.filePath(QStringLiteral("large.db"));
    ASSERT_TRUE(MakeLargeProject(project));
    const struct {
        int signal;
        QStringList args;
        int status;
    } cases[] = {
        {SIGTERM, {"open", project, "--format", "csv"}, 143},
        {SIGINT, {"open", project}, 130},
        {SIGTERM, {"diff", project, project}, 143},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QProcess run;
        run.start(kCli, c.args + QStringList{"--data-folder", data.path()});
        ASSERT_TRUE(run.waitForStarted());
        // Until the working copy exists the command has not got far.
        for (int i = 0; i < 2000 && QDir(data.path()).entryList({"project*.db"}, QDir::Files).isEmpty(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ::kill(pid_t(run.processId()), c.signal);
        ASSERT_TRUE(run.waitForFinished(30000));
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run.exitCode(), c.status) << run.readAllStandardError().toStdString();
        EXPECT_EQ(QDir(data.path()).entryList({"project*"}, QDir::Files), QStringList());
    }
}


}  // namespace
