// The rendering crawl as a user runs it: lexicrawl-cli with --render over a
// site whose pages are built by scripts, served on 127.0.0.1, with the
// browser the test packages install.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <httplib.h>

#include <chrono>
#include <csignal>
#include <mutex>
#include <thread>

#include "support/loopback_server.h"
#include "support/qt_printers.h"

namespace {

const QString kCli = QStringLiteral(LEXICRAWL_BIN_DIR "/lexicrawl-cli");

// Serves tests/data/render/site under /site/ and keeps the host and path of
// every request that reached it.
class ScriptSite {
public:
    ScriptSite()
    {
        server_.Routes().set_pre_routing_handler([this](const httplib::Request& req, httplib::Response&) {
            std::lock_guard<std::mutex> lock(mutex_);
            requests_ << QString::fromStdString(req.get_header_value("Host") + " " + req.target);
            return httplib::Server::HandlerResponse::Unhandled;
        });
        // Any page may read the data, so that a request let through shows in the page.
        server_.Routes().set_post_routing_handler([](const httplib::Request&, httplib::Response& res) {
            res.set_header("Access-Control-Allow-Origin", "*");
        });
        server_.Routes().set_mount_point("/site", LEXICRAWL_TEST_DATA "/render/site");
        server_.Start();
    }
    ~ScriptSite()
    {
        server_.Stop();
    }
    QString Url(const char* page = "index.html") const
    {
        return server_.Url(QStringLiteral("/site/") + QString::fromLatin1(page));
    }
    QStringList Requests() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }
    // Waits until a request whose host and target contain part has come.
    bool WaitForRequest(const QString& part, int ms) const
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end) {
            for (const QString& r : Requests())
                if (r.contains(part))
                    return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

private:
    lexicrawl::testing::LoopbackServer server_;
    mutable std::mutex mutex_;
    QStringList requests_;
};

class RenderTest : public ::testing::Test {
protected:
    // The program runs with a temporary folder of its own, where the
    // browser's profile goes: its processes are told apart by it.
    QProcessEnvironment Environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), temp_.path());
        return env;
    }
    void Start(QProcess& p, QStringList args, const QProcessEnvironment& env)
    {
        args << QStringLiteral("--data-folder") << data_.path() << QStringLiteral("--memory");
        p.setProcessEnvironment(env);
        p.start(kCli, args);
        ASSERT_TRUE(p.waitForStarted());
    }
    QJsonObject Crawl(QStringList args, int expectedExit = 0)
    {
        QProcess p;
        Start(p, args << QStringLiteral("--format") << QStringLiteral("json"), Environment());
        EXPECT_TRUE(p.waitForFinished(120000));
        const QByteArray err = p.readAllStandardError();
        EXPECT_EQ(p.exitCode(), expectedExit) << err.toStdString();
        lastErr_ = QString::fromUtf8(err);
        return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    }
    // The processes whose command line names our temporary folder: the browser's.
    QStringList BrowserProcesses() const
    {
        QStringList found;
        const QByteArray mark = temp_.path().toUtf8();
        for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            if (pid.toInt() <= 0)
                continue;
            QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
            if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(mark))
                found << pid;
        }
        return found;
    }
    // Waits a little for the processes to go: the kernel kills them at once,
    // but they are reaped a moment later.
    QStringList BrowserProcessesAfter(int ms) const
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        QStringList left = BrowserProcesses();
        while (!left.isEmpty() && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            left = BrowserProcesses();
        }
        return left;
    }

    QTemporaryDir data_;
    QTemporaryDir temp_;
    QString lastErr_;
};

QStringList Words(const QJsonObject& root)
{
    QStringList words;
    for (const QJsonValue& w : root.value(u"unknownWords"_qs).toArray())
        words << w.toObject().value(u"word"_qs).toString();
    return words;
}

QJsonObject Page(const QJsonObject& root, const char* name)
{
    for (const QJsonValue& p : root.value(u"pages"_qs).toArray())
        if (p.toObject().value(u"url"_qs).toString().endsWith(QLatin1String(name)))
            return p.toObject();
    return {};
}

const QStringList kRenderedTypos{u"recieve"_qs, u"occured"_qs, u"definately"_qs, u"acommodate"_qs};
// Written by scripts that fail or never settle: those pages are read as sent.
const QStringList kFallenBackTypos{u"seperate"_qs, u"neccessary"_qs};

}  // namespace

TEST_F(RenderTest, ScriptBuiltPagesGiveWordsAndLinksOnlyWhenRendered)
{
    ScriptSite site;
    const QStringList dictionary{u"--dictionary"_qs, u"English (United States)"_qs};

    const QJsonObject plain = Crawl(QStringList{u"crawl"_qs, site.Url()} + dictionary);
    EXPECT_EQ(plain.value(u"pages"_qs).toArray().size(), 1) << "the links are made by a script";
    for (const QString& typo : kRenderedTypos + kFallenBackTypos)
        EXPECT_FALSE(Words(plain).contains(typo)) << typo.toStdString();
    EXPECT_TRUE(Page(plain, "index.html").value(u"note"_qs).isUndefined());

    const QJsonObject rendered = Crawl(QStringList{u"crawl"_qs, site.Url(), u"--render"_qs, u"--render-timeout"_qs,
                                                   u"4000"_qs, u"--connections"_qs, u"2"_qs} +
                                       dictionary);
    EXPECT_EQ(rendered.value(u"pages"_qs).toArray().size(), 6) << lastErr_.toStdString();
    const QStringList words = Words(rendered);
    for (const QString& typo : kRenderedTypos)
        EXPECT_TRUE(words.contains(typo)) << typo.toStdString() << " in " << words.join(u' ').toStdString();
    for (const QString& typo : kFallenBackTypos)
        EXPECT_FALSE(words.contains(typo)) << typo.toStdString();

    // The raw answers' facts stay; the pages read as sent say why.
    EXPECT_EQ(Page(rendered, "throws.html").value(u"status"_qs).toInt(), 200);
    EXPECT_TRUE(Page(rendered, "throws.html").value(u"note"_qs).toString().contains(u"planted failure"_qs));
    EXPECT_TRUE(Page(rendered, "unsettled.html").value(u"note"_qs).toString().contains(u"did not settle"_qs));
    EXPECT_TRUE(Page(rendered, "from-json.html").value(u"note"_qs).isUndefined());

    // The page's request to another host never left the browser, and the
    // page itself was fetched once: the browser was handed the crawl's copy.
    for (const QString& request : site.Requests())
        EXPECT_TRUE(request.startsWith(u"127.0.0.1:"_qs)) << request.toStdString();
    EXPECT_EQ(site.Requests().filter(u"/site/article.html"_qs).size(), 1);
    EXPECT_EQ(BrowserProcesses(), QStringList());
}

TEST_F(RenderTest, StopAndKillLeaveNoBrowserBehind)
{
    for (const int signal : {SIGINT, SIGKILL}) {
        SCOPED_TRACE(signal == SIGINT ? "interrupted" : "killed");
        ScriptSite site;
        QProcess p;
        Start(p, {u"crawl"_qs, site.Url("unsettled.html"), u"--render"_qs, u"--render-timeout"_qs, u"600000"_qs},
              Environment());
        // The page's script is running: it asks for its data again and again.
        ASSERT_TRUE(site.WaitForRequest(u"news.json?t="_qs, 60000));
        ASSERT_FALSE(BrowserProcesses().isEmpty());
        const auto before = std::chrono::steady_clock::now();
        ::kill(pid_t(p.processId()), signal);
        ASSERT_TRUE(p.waitForFinished(20000));
        if (signal == SIGINT) {
            EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
            EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(10));
        }
        EXPECT_EQ(BrowserProcessesAfter(5000), QStringList());
    }
}

TEST_F(RenderTest, WithoutTheBrowserRenderingFailsAtOnceNamingThePackage)
{
    ScriptSite site;
    QProcessEnvironment env = Environment();
    env.insert(QStringLiteral("LEXICRAWL_BROWSER"), temp_.filePath(QStringLiteral("no-such-browser")));
    QProcess rendering;
    Start(rendering, {u"crawl"_qs, site.Url(), u"--render"_qs}, env);
    ASSERT_TRUE(rendering.waitForFinished(30000));
    EXPECT_EQ(rendering.exitCode(), 3);
    EXPECT_TRUE(rendering.readAllStandardError().contains("install the Debian package 'chromium'"));
    EXPECT_TRUE(site.Requests().isEmpty());

    QProcess plain;
    Start(plain, {u"crawl"_qs, site.Url()}, env);
    ASSERT_TRUE(plain.waitForFinished(30000));
    EXPECT_EQ(plain.exitCode(), 0) << plain.readAllStandardError().toStdString();
}
