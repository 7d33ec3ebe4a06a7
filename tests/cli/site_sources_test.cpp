// lexicrawl-cli crawling a site whose text is not all in linked pages: a
// sitemap index with a gzip sitemap and a damaged one, a page nothing links
// to, a robots.txt with Allow, Disallow and wildcards, and linked PDF, DOCX
// and ODT documents with planted typos (the PDF's on page 3), an encrypted
// PDF and a damaged one. A loopback server started here serves it.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <httplib.h>
#include "support/loopback_server.h"
#include "support/gzip.h"

#include <atomic>
#include <map>
#include <thread>

#include "support/qt_printers.h"

namespace {

const QString kCli = QStringLiteral(LEXICRAWL_BIN_DIR "/lexicrawl-cli");

std::string Fixture(const char* name)
{
    QFile file(QStringLiteral(LEXICRAWL_TEST_DATA "/analysis/documents/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll().toStdString();
}

std::string Gzip(const std::string& data)
{
    return lexicrawl::testing::Gzip(QByteArray::fromStdString(data)).toStdString();
}

class FixtureSite {
public:
    FixtureSite()
    {
        server_.Bind();
        const std::string root = server_.Url().toStdString();
        const auto html = [](const std::string& body) {
            return "<html><head><title>Harbour office</title></head><body>" + body + "</body></html>";
        };
        files_["/robots.txt"] = {"User-agent: *\nDisallow: /private/\nAllow: /private/*.pdf$\nDisallow: /*?print=\n"
                                 "Sitemap: " + root + "/sitemap-index.xml\n",
                                 "text/plain"};
        files_["/sitemap-index.xml"] = {
            "<?xml version=\"1.0\"?><sitemapindex xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">"
            "<sitemap><loc>" + root + "/maps/pages.xml.gz</loc></sitemap>"
            "<sitemap><loc>" + root + "/maps/broken.xml</loc></sitemap></sitemapindex>",
            "application/xml"};
        files_["/maps/pages.xml.gz"] = {
            Gzip("<?xml version=\"1.0\"?><urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">"
                 "<url><loc>" + root + "/about.html</loc></url>"
                 "<url><loc>" + root + "/orphan.html</loc></url>"
                 "<url><loc>" + root + "/private/staff.html</loc></url></urlset>"),
            "application/gzip"};
        files_["/maps/broken.xml"] = {"<urlset><url><loc>" + root + "/about.html</loc></url><url><lo", "application/xml"};
        files_["/"] = {html("<p>Welcome to the harbour office.</p>"
                            "<a href=\"/about.html\">About</a> <a href=\"/about.html?print=1\">Print</a>"
                            "<a href=\"/private/staff.html\">Staff</a> <a href=\"/private/annual.pdf\">Annual</a>"
                            "<a href=\"/report.pdf\">Report</a> <a href=\"/letter.docx\">Letter</a>"
                            "<a href=\"/minutes.odt\">Minutes</a> <a href=\"/encrypted.pdf\">Locked</a>"
                            "<a href=\"/damaged.pdf\">Broken</a>"),
                       "text/html"};
        files_["/about.html"] = {html("<p>The office opens at nine.</p>"), "text/html"};
        files_["/orphan.html"] = {html("<p>Nobody links to this seperate page.</p>"), "text/html"};
        files_["/private/staff.html"] = {html("<p>Staff only.</p>"), "text/html"};
        files_["/private/annual.pdf"] = {Fixture("report.pdf"), "application/pdf"};
        files_["/report.pdf"] = {Fixture("report.pdf"), "application/pdf"};
        files_["/letter.docx"] = {Fixture("letter.docx"),
                                  "application/vnd.openxmlformats-officedocument.wordprocessingml.document"};
        files_["/minutes.odt"] = {Fixture("minutes.odt"), "application/vnd.oasis.opendocument.text"};
        files_["/encrypted.pdf"] = {Fixture("encrypted.pdf"), "application/pdf"};
        files_["/damaged.pdf"] = {Fixture("damaged.pdf"), "application/pdf"};
        server_.Routes().Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
            ++requests_[req.path];
            auto it = files_.find(req.target);  // a download URL's query names its file
            if (it == files_.end())
                it = files_.find(req.path);
            if (it == files_.end()) {
                res.status = 404;
                return;
            }
            res.set_content(it->second.first, it->second.second);
        });
        server_.Listen();
    }
    ~FixtureSite()
    {
        server_.Stop();
    }
    QString Url(const char* path = "/") const
    {
        return server_.Url(QString::fromLatin1(path));
    }
    int Requests(const std::string& path) { return requests_[path]; }
    // Adds a file (target: path and query) before a crawl starts.
    void Serve(const std::string& target, const std::string& body, const std::string& type)
    {
        files_[target] = {body, type};
    }

private:
    lexicrawl::testing::LoopbackServer server_;
    std::map<std::string, std::pair<std::string, std::string>> files_;
    std::map<std::string, std::atomic<int>> requests_;
};

struct Result {
    int exitCode = -1;
    QString out, err;
};

class SiteSourcesTest : public ::testing::Test {
protected:
    Result Run(QStringList args)
    {
        args << QStringLiteral("--data-folder") << data_.path() << QStringLiteral("--dictionary")
             << QStringLiteral("English (United States)") << QStringLiteral("--format") << QStringLiteral("json");
        QProcess p;
        p.start(kCli, args);
        EXPECT_TRUE(p.waitForFinished(120000));
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    QString Path(const char* name) const { return data_.filePath(QString::fromLatin1(name)); }
    static QString Read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    static QStringList Strings(const QJsonValue& value)
    {
        QStringList out;
        for (const QJsonValue& v : value.toArray())
            out << v.toString();
        return out;
    }

    QTemporaryDir data_;
};

}  // namespace

TEST_F(SiteSourcesTest, SitemapsRobotsAndDocumentsTogether)
{
    FixtureSite site;
    const Result r = Run({"crawl", site.Url(), "--robots", "--sitemaps", "--documents", "--report", Path("report.html"),
                          "--export-urls", Path("urls.csv")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject root = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(site.Requests("/robots.txt"), 1);  // read once for its rules and its Sitemap lines

    // Unknown words from the pages and from each kind of document.
    QMap<QString, QStringList> pagesOf;
    for (const QJsonValue& w : root.value("unknownWords").toArray())
        pagesOf[w.toObject().value("word").toString()] = Strings(w.toObject().value("pages"));
    EXPECT_EQ(pagesOf.value("recieved"), QStringList({site.Url("/private/annual.pdf"), site.Url("/report.pdf")}));
    EXPECT_EQ(pagesOf.value("untill"), QStringList{site.Url("/letter.docx")});
    EXPECT_EQ(pagesOf.value("comittee"), QStringList{site.Url("/minutes.odt")});
    EXPECT_EQ(pagesOf.value("seperate"), QStringList{site.Url("/orphan.html")});

    EXPECT_EQ(Strings(root.value("foundOnlyInSitemap")), QStringList{site.Url("/orphan.html")});
    EXPECT_EQ(Strings(root.value("leftOutByRobots")),
              QStringList({site.Url("/about.html?print=1"), site.Url("/private/staff.html")}));
    EXPECT_EQ(site.Requests("/private/staff.html"), 0);
    const QStringList warnings = Strings(root.value("siteFileWarnings"));
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains("/maps/broken.xml")) << warnings[0].toStdString();

    QMap<QString, QJsonObject> documents;
    for (const QJsonValue& p : root.value("pages").toArray())
        if (p.toObject().contains("document"))
            documents[p.toObject().value("url").toString().mid(site.Url().size() - 1)] =
                p.toObject().value("document").toObject();
    EXPECT_EQ(documents.keys(), QStringList({"/damaged.pdf", "/encrypted.pdf", "/letter.docx", "/minutes.odt",
                                             "/private/annual.pdf", "/report.pdf"}));
    EXPECT_EQ(documents["/report.pdf"].value("pages").toInt(), 4);
    EXPECT_EQ(documents["/report.pdf"].value("status").toString(), "read");
    EXPECT_EQ(documents["/letter.docx"].value("kind").toString(), "docx");
    EXPECT_EQ(documents["/encrypted.pdf"].value("status").toString(), "encrypted document");
    EXPECT_EQ(documents["/damaged.pdf"].value("status").toString(), "damaged document");
    // An unreadable document is no failed page.
    EXPECT_EQ(root.value("summary").toObject().value("pagesFailed").toInt(), 0);

    // The summary on standard error, the report's sections and the export say the same.
    EXPECT_TRUE(r.err.contains("1 page found in sitemap, linked from nowhere:")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("2 pages left out by robots.txt:"));
    EXPECT_TRUE(r.err.contains("6 documents checked, 2 not read whole:"));
    const QString report = Read(Path("report.html"));
    for (const char* text : {"<h2>Documents</h2>", "<h2>Found in sitemap, linked from nowhere</h2>",
                             "<h2>Left out by robots.txt</h2>", "<span class=\"place\">page 3</span>"})
        EXPECT_TRUE(report.contains(QLatin1String(text))) << text;
    const QString urls = Read(Path("urls.csv"));
    EXPECT_TRUE(urls.contains("/orphan.html,") && urls.contains("sitemap only (linked from nowhere)"));
    EXPECT_TRUE(urls.contains("PDF document: encrypted document"));
}

TEST_F(SiteSourcesTest, WithoutTheOptionsTheCrawlIsAsBefore)
{
    FixtureSite site;
    const Result r = Run({"crawl", site.Url(), "--export-urls", Path("urls.csv")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject root = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(site.Requests("/robots.txt"), 0);
    EXPECT_EQ(site.Requests("/sitemap-index.xml"), 0);
    for (const char* key : {"foundOnlyInSitemap", "leftOutByRobots", "siteFileWarnings"})
        EXPECT_FALSE(root.contains(QLatin1String(key))) << key;
    QStringList pages;
    for (const QJsonValue& p : root.value("pages").toArray()) {
        pages << p.toObject().value("url").toString().mid(site.Url().size() - 1);
        EXPECT_FALSE(p.toObject().contains("document"));
    }
    // The default ignored extensions drop pdf and docx; odt is not among them.
    EXPECT_EQ(pages, QStringList({"/", "/about.html", "/about.html?print=1", "/private/staff.html", "/minutes.odt"}));
    const QString urls = Read(Path("urls.csv"));
    EXPECT_TRUE(urls.contains(QStringLiteral("URL,Load_Time,URL_Length,Status_Code\r\n")));
    EXPECT_FALSE(urls.contains(QStringLiteral("Note")));
    EXPECT_FALSE(r.err.contains("sitemap"));
}

// Documents served from links that do not say so, and links that promise a
// document and answer with a page: the body's first bytes decide, then the
// declared type; the option off, they are pages as before.
TEST_F(SiteSourcesTest, DocumentsAreKnownByTheirBodyAndDeclaredType)
{
    FixtureSite site;
    site.Serve("/files.html",
               "<html><body><p>Files</p><a href=\"/download?id=7\">A</a> <a href=\"/download?id=8\">B</a>"
               "<a href=\"/get/minutes\">C</a> <a href=\"/plain-report\">D</a> <a href=\"/download?id=9\">E</a>"
               "<a href=\"/missing.pdf\">F</a> <a href=\"/moved.pdf\">G</a> <a href=\"/logo\">H</a></body></html>",
               "text/html");
    site.Serve("/download?id=7", Fixture("report.pdf"), "application/pdf");
    site.Serve("/download?id=8", Fixture("letter.docx"), "application/octet-stream");
    site.Serve("/get/minutes", Fixture("minutes.odt"), "application/vnd.oasis.opendocument.text");
    site.Serve("/plain-report", Fixture("report.pdf"), "text/plain");
    site.Serve("/download?id=9", std::string("\x00\x01\x02 not a PDF at all", 20), "application/pdf");
    site.Serve("/missing.pdf", "<html><body><p>That file is no longer availible.</p></body></html>",
               "application/pdf");
    site.Serve("/moved.pdf", "<html><body><p>An error ocurred.</p></body></html>", "text/html");
    site.Serve("/logo", std::string("\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR", 16), "image/png");

    const auto crawl = [&](QStringList extra) {
        const Result r = Run(QStringList({"crawl", site.Url("/files.html")}) + extra);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out.toUtf8()).object();
    };
    const auto path = [&](const QJsonValue& url) { return url.toString().mid(site.Url().size() - 1); };

    const QJsonObject on = crawl({"--documents"});
    QMap<QString, QJsonObject> documents;
    QStringList pages;
    for (const QJsonValue& p : on.value("pages").toArray()) {
        pages << path(p.toObject().value("url"));
        if (p.toObject().contains("document"))
            documents[path(p.toObject().value("url"))] = p.toObject().value("document").toObject();
    }
    EXPECT_EQ(pages.size(), 9) << pages.join(' ').toStdString();
    EXPECT_EQ(documents.keys(),
              QStringList({"/download?id=7", "/download?id=8", "/download?id=9", "/get/minutes", "/plain-report"}));
    const struct {
        const char* path;
        const char* kind;
        int pages;
        const char* status;
    } expected[] = {
        {"/download?id=7", "pdf", 4, "read"},
        {"/download?id=8", "docx", 0, "read"},
        {"/download?id=9", "pdf", 0, "damaged document"},
        {"/get/minutes", "odt", 0, "read"},
        {"/plain-report", "pdf", 4, "read"},
    };
    for (const auto& e : expected) {
        const QJsonObject d = documents.value(QLatin1String(e.path));
        EXPECT_EQ(d.value("kind").toString(), QLatin1String(e.kind)) << e.path;
        EXPECT_EQ(d.value("pages").toInt(), e.pages) << e.path;
        EXPECT_EQ(d.value("status").toString(), QLatin1String(e.status)) << e.path;
    }
    QMap<QString, QStringList> pagesOf;
    for (const QJsonValue& w : on.value("unknownWords").toArray())
        pagesOf[w.toObject().value("word").toString()] = Strings(w.toObject().value("pages"));
    EXPECT_EQ(pagesOf.value("recieved"), QStringList({site.Url("/download?id=7"), site.Url("/plain-report")}));
    EXPECT_EQ(pagesOf.value("untill"), QStringList{site.Url("/download?id=8")});
    EXPECT_EQ(pagesOf.value("comittee"), QStringList{site.Url("/get/minutes")});
    // The pages behind .pdf links are read as pages.
    EXPECT_EQ(pagesOf.value("availible"), QStringList{site.Url("/missing.pdf")});
    EXPECT_EQ(pagesOf.value("ocurred"), QStringList{site.Url("/moved.pdf")});
    EXPECT_EQ(on.value("summary").toObject().value("pagesFailed").toInt(), 0);

    // Without the option the binary answers are pages without words, the
    // PDF served as text is read as text, and the .pdf links are dropped by
    // the ignored extensions.
    const QJsonObject off = crawl({});
    pages.clear();
    for (const QJsonValue& p : off.value("pages").toArray()) {
        pages << path(p.toObject().value("url"));
        EXPECT_FALSE(p.toObject().contains("document")) << path(p.toObject().value("url")).toStdString();
    }
    EXPECT_EQ(pages, QStringList({"/files.html", "/download?id=7", "/download?id=8", "/get/minutes", "/plain-report",
                                  "/download?id=9", "/logo"}));
    for (const QJsonValue& w : off.value("unknownWords").toArray())
        for (const char* binary : {"/download?id=7", "/download?id=8", "/download?id=9", "/get/minutes", "/logo"})
            EXPECT_FALSE(Strings(w.toObject().value("pages")).contains(site.Url(binary)))
                << w.toObject().value("word").toString().toStdString() << " on " << binary;
}
