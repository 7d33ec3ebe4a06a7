#pragma once
// Renders pages in a headless browser, for sites whose pages are built by
// scripts: one browser per crawl, driven over a pipe, and a fresh tab for
// every page. The page's HTML as the crawl fetched it is served to the tab
// (so the browser does not ask for it again), its scripts run until the
// page is loaded and the network has been quiet for a moment, bounded by a
// time limit per page, and the document as the scripts left it is read back.
//
// Rendering runs a stranger's scripts, so the browser gets nothing it does
// not need: a request leaves it only for the crawled site's own hosts over
// http or https, downloads are refused, dialogs dismissed, pop-ups blocked,
// no permission is granted, and its profile is an empty folder that goes
// with it. When the operating system's sandbox cannot be used (as root) the
// browser runs without it, kept to the same rules.
//
// Thread-safety: Render may be called from several threads at once (one tab
// each); Start and the destructor from one thread.
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

namespace lexicrawl {

// The page time limit when none is given.
constexpr int kDefaultRenderTimeoutMs = 15000;

struct RenderSettings {
    QString userAgent;          // empty: the browser's own
    bool insecure = false;      // certificate errors ignored (test servers)
    int pageTimeoutMs = kDefaultRenderTimeoutMs;
    // Whether the page may ask url for a part of itself (a script, a style,
    // data); other requests fail. Called on the renderer's reading thread.
    std::function<bool(const QString& url)> mayRequest;
};

// What rendering made of one page.
struct RenderResult {
    QString html;  // the rendered document's outer HTML; empty when it fell back
    QString note;  // why the page was read as sent; empty after a rendering
};

// The browser the renderer starts: $LEXICRAWL_BROWSER when set, else
// chromium on the PATH; empty when there is none.
QString RenderBrowser();
// "rendering needs a browser engine: install the Debian package 'chromium'".
QString RenderBrowserMissingText();

class Renderer {
public:
    // Starts the browser; nothing, with the reason in *error, when it is
    // missing or does not answer.
    static std::unique_ptr<Renderer> Start(RenderSettings settings, QString* error);
    // Closes the browser; no process of it is left.
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Renders the page at url whose HTML the crawl fetched as source. A
    // script that fails, a page that does not settle in time and a browser
    // that fails give a note and no html; a stop ends the wait at once.
    RenderResult Render(const QString& url, const QString& source, const std::atomic<bool>* stop);

    class Connection;

private:
    explicit Renderer(std::unique_ptr<Connection> connection);
    std::unique_ptr<Connection> connection_;
};

}  // namespace lexicrawl
