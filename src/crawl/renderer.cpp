#include "crawl/renderer.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <chrono>
#include <condition_variable>
#include <map>
#include <optional>
#include <mutex>
#include <set>
#include <thread>
#include <vector>
#include <unistd.h>

#include "platform/child_process.h"

namespace lexicrawl {

namespace {

using Clock = std::chrono::steady_clock;

// How long the browser may take to answer its first command.
constexpr int kBrowserStartMs = 30000;
// How long a finished crawl waits for the browser to close on its own.
constexpr int kBrowserCloseMs = 3000;
// A loaded page has settled when none of its requests has started or ended
// for this long: what its scripts fetch has come and been written.
constexpr int kQuietMs = 500;
// Reading the document back after the page settled; a page whose scripts
// keep the browser busy does not hold the crawl longer than this.
constexpr int kReadBackMs = 5000;

QJsonObject Object(std::initializer_list<QPair<QString, QJsonValue>> members)
{
    return QJsonObject(members);
}

// The first line of a script failure's description, which holds its message.
QString FailureText(const QJsonObject& details)
{
    QString text = details.value(u"exception"_qs).toObject().value(u"description"_qs).toString();
    if (text.isEmpty())
        text = details.value(u"text"_qs).toString();
    return text.section(u'\n', 0, 0).trimmed();
}

QStringList BrowserArguments(const QString& profile, const RenderSettings& settings)
{
    QStringList arguments{
        u"--headless=new"_qs, u"--remote-debugging-pipe"_qs, u"--user-data-dir="_qs + profile,
        u"--no-first-run"_qs, u"--no-default-browser-check"_qs, u"--disable-gpu"_qs,
        u"--disable-extensions"_qs, u"--disable-background-networking"_qs, u"--disable-component-update"_qs,
        u"--disable-sync"_qs, u"--disable-default-apps"_qs, u"--mute-audio"_qs, u"--disable-dev-shm-usage"_qs,
        // Tabs in the background would run their timers slowly and look
        // settled when they are not.
        u"--disable-background-timer-throttling"_qs, u"--disable-renderer-backgrounding"_qs,
        u"--disable-backgrounding-occluded-windows"_qs, u"--block-new-web-contents"_qs, u"--deny-permission-prompts"_qs, u"--disable-notifications"_qs,
        u"--disable-features=Translate,MediaRouter,OptimizationHints,AutofillServerCommunication,SpareRendererForSitePerProcess,BackForwardCache"_qs,
        // Fewer processes: every page is of one site, and nothing is drawn on a screen.
        u"--in-process-gpu"_qs, u"--process-per-site"_qs,
    };
    // The browser's sandbox refuses to run as root; the request rules below
    // then are what keeps the pages away from everything but the site.
    if (geteuid() == 0)
        arguments << u"--no-sandbox"_qs;
    if (settings.insecure)
        arguments << u"--ignore-certificate-errors"_qs;
    arguments << u"about:blank"_qs;
    return arguments;
}

}  // namespace

QString RenderBrowser()
{
    const QString chosen = qEnvironmentVariable("LEXICRAWL_BROWSER");
    if (!chosen.isEmpty()) {
        const QFileInfo file(chosen);
        return file.isFile() && file.isExecutable() ? file.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(u"chromium"_qs);
}

QString RenderBrowserMissingText()
{
    return u"rendering needs a browser engine: install the Debian package 'chromium'"_qs;
}

// The browser and the pipe to it: commands go out with a number, answers and
// events come back on a reading thread of its own, which also answers the
// tabs' paused requests and dialogs without waiting for anyone.
class Renderer::Connection {
public:
    // One page being rendered, known by its session.
    struct Tab {
        QString targetId;
        QByteArray body;           // the page's HTML, base64, served to its first document request
        bool bodyServed = false;
        std::set<QString> events;  // "loaderId name" of its lifecycle events
        std::set<QString> inFlight;  // its requests under way
        Clock::time_point lastActivity = Clock::now();
        QString failure;           // the first script failure or crash
        // Failures count from the page's own document on: a tab used before
        // may still report its last page's.
        bool ownDocument = false;
    };

    // A tab with nothing in it, kept for the next page.
    struct IdleTab {
        QString targetId;
        QString session;
    };

    Connection(std::unique_ptr<ChildProcess> child, std::unique_ptr<QTemporaryDir> profile, RenderSettings settings)
        : child_(std::move(child)), profile_(std::move(profile)), settings_(std::move(settings))
    {
        reader_ = std::thread([this] { ReadLoop(); });
    }

    ~Connection()
    {
        if (!Dead()) {
            Send(u"Browser.close"_qs, {}, {});
            if (!child_->CloseAndWait(kBrowserCloseMs))
                child_->Kill();
        }
        child_->Kill();
        reader_.join();
        child_.reset();
    }

    const RenderSettings& Settings() const { return settings_; }

    bool Dead()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return dead_;
    }

    int Send(const QString& method, const QJsonObject& params, const QString& session)
    {
        int id = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            id = ++lastId_;
        }
        QJsonObject message = Object({{u"id"_qs, id}, {u"method"_qs, method}, {u"params"_qs, params}});
        if (!session.isEmpty())
            message.insert(u"sessionId"_qs, session);
        QByteArray bytes = QJsonDocument(message).toJson(QJsonDocument::Compact);
        bytes.append('\0');
        if (!child_->Write(bytes)) {
            std::lock_guard<std::mutex> lock(mutex_);
            dead_ = true;
            changed_.notify_all();
        }
        return id;
    }

    // The answer's result; nothing when the browser answered with an error
    // (its message in *error), did not answer by deadline, or stop came.
    std::optional<QJsonObject> Call(const QString& method, const QJsonObject& params, const QString& session,
                                    Clock::time_point deadline, const std::atomic<bool>* stop, QString* error)
    {
        const int id = Send(method, params, session);
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            const auto answer = answers_.find(id);
            if (answer != answers_.end()) {
                const QJsonObject message = std::move(answer->second);
                answers_.erase(answer);
                if (message.contains(u"error"_qs)) {
                    if (error)
                        *error = message.value(u"error"_qs).toObject().value(u"message"_qs).toString();
                    return std::nullopt;
                }
                return message.value(u"result"_qs).toObject();
            }
            if (dead_ || Clock::now() >= deadline || (stop && stop->load())) {
                abandoned_.insert(id);
                if (error)
                    *error = dead_ ? u"the browser ended"_qs : u"no answer in time"_qs;
                return std::nullopt;
            }
            changed_.wait_for(lock, std::chrono::milliseconds(50));
        }
    }

    // Readies the tab for a page whose HTML is source.
    void PrepareTab(const QString& session, const QString& targetId, const QString& source)
    {
        Tab tab;
        tab.targetId = targetId;
        tab.body = source.toUtf8().toBase64();
        std::lock_guard<std::mutex> lock(mutex_);
        tabs_[session] = std::move(tab);
    }

    std::optional<IdleTab> TakeIdleTab()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (idle_.empty())
            return std::nullopt;
        IdleTab tab = idle_.back();
        idle_.pop_back();
        return tab;
    }

    void PutIdleTab(IdleTab tab)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        idle_.push_back(std::move(tab));
    }

    void RemoveTab(const QString& session)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tabs_.erase(session);
    }

    enum class Wait { Settled, Failed, TimedOut, Stopped, BrowserEnded };

    // Waits until the tab's document (loaderId) has loaded and its network
    // has been quiet for a moment, or a script failed; *failure says how.
    Wait WaitSettled(const QString& session, const QString& loaderId, Clock::time_point deadline,
                     const std::atomic<bool>* stop, QString* failure)
    {
        const QString loaded = loaderId + u" load"_qs;
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            const Tab& tab = tabs_[session];
            if (!tab.failure.isEmpty()) {
                *failure = tab.failure;
                return Wait::Failed;
            }
            if (tab.events.count(loaded) && tab.inFlight.empty() &&
                Clock::now() - tab.lastActivity >= std::chrono::milliseconds(kQuietMs))
                return Wait::Settled;
            if (dead_)
                return Wait::BrowserEnded;
            if (stop && stop->load())
                return Wait::Stopped;
            if (Clock::now() >= deadline)
                return Wait::TimedOut;
            changed_.wait_for(lock, std::chrono::milliseconds(50));
        }
    }

    QString TabFailure(const QString& session)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto tab = tabs_.find(session);
        return tab == tabs_.end() ? QString() : tab->second.failure;
    }

private:
    void ReadLoop()
    {
        QByteArray pending;
        for (;;) {
            const QByteArray chunk = child_->Read(1 << 16);
            if (chunk.isEmpty())
                break;
            pending.append(chunk);
            qsizetype start = 0;
            for (qsizetype end = pending.indexOf('\0'); end >= 0; end = pending.indexOf('\0', start)) {
                Dispatch(QJsonDocument::fromJson(QByteArrayView(pending).sliced(start, end - start).toByteArray())
                             .object());
                start = end + 1;
            }
            pending.remove(0, start);
        }
        std::lock_guard<std::mutex> lock(mutex_);
        dead_ = true;
        changed_.notify_all();
    }

    void Dispatch(const QJsonObject& message)
    {
        if (message.contains(u"id"_qs)) {
            const int id = message.value(u"id"_qs).toInt();
            std::lock_guard<std::mutex> lock(mutex_);
            if (!abandoned_.erase(id))
                answers_[id] = message;
            changed_.notify_all();
            return;
        }
        const QString method = message.value(u"method"_qs).toString();
        const QString session = message.value(u"sessionId"_qs).toString();
        const QJsonObject params = message.value(u"params"_qs).toObject();
        if (method == u"Fetch.requestPaused")
            AnswerRequest(session, params);
        else if (method == u"Page.javascriptDialogOpening")
            Send(u"Page.handleJavaScriptDialog"_qs, Object({{u"accept"_qs, false}}), session);
        else if (method == u"Page.lifecycleEvent")
            Note(session, [&params](Tab& tab) {
                tab.events.insert(params.value(u"loaderId"_qs).toString() + u' ' + params.value(u"name"_qs).toString());
            });
        else if (method == u"Network.requestWillBeSent")
            Note(session, [&params](Tab& tab) {
                tab.inFlight.insert(params.value(u"requestId"_qs).toString());
                tab.lastActivity = Clock::now();
            });
        else if (method == u"Network.loadingFinished" || method == u"Network.loadingFailed")
            Note(session, [&params](Tab& tab) {
                tab.inFlight.erase(params.value(u"requestId"_qs).toString());
                tab.lastActivity = Clock::now();
            });
        else if (method == u"Runtime.executionContextsCleared")
            Note(session, [](Tab& tab) { tab.ownDocument = true; });
        else if (method == u"Runtime.exceptionThrown")
            Note(session, [&params](Tab& tab) {
                if (!tab.ownDocument)
                    return;
                if (tab.failure.isEmpty())
                    tab.failure = FailureText(params.value(u"exceptionDetails"_qs).toObject());
                if (tab.failure.isEmpty())
                    tab.failure = u"an exception"_qs;
            });
        else if (method == u"Inspector.targetCrashed")
            Note(session, [](Tab& tab) { tab.failure = u"the page crashed"_qs; });
    }

    template <typename Change>
    void Note(const QString& session, Change change)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto tab = tabs_.find(session);
        if (tab == tabs_.end())
            return;
        change(tab->second);
        changed_.notify_all();
    }

    // Serves the page's own HTML to its document request, lets the site's
    // requests through and fails every other.
    void AnswerRequest(const QString& session, const QJsonObject& params)
    {
        const QString requestId = params.value(u"requestId"_qs).toString();
        const QString url = params.value(u"request"_qs).toObject().value(u"url"_qs).toString();
        QByteArray body;
        bool serve = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            const auto tab = tabs_.find(session);
            if (tab != tabs_.end() && !tab->second.bodyServed &&
                params.value(u"resourceType"_qs).toString() == u"Document" &&
                params.value(u"frameId"_qs).toString() == tab->second.targetId) {
                tab->second.bodyServed = true;
                body = tab->second.body;
                serve = true;
            }
        }
        if (serve) {
            const QJsonArray headers{Object({{u"name"_qs, u"Content-Type"_qs}, {u"value"_qs, u"text/html; charset=utf-8"_qs}})};
            Send(u"Fetch.fulfillRequest"_qs,
                 Object({{u"requestId"_qs, requestId}, {u"responseCode"_qs, 200}, {u"responseHeaders"_qs, headers},
                         {u"body"_qs, QString::fromLatin1(body)}}),
                 session);
            return;
        }
        const QString scheme = QUrl(url).scheme();
        const bool web = scheme == u"http" || scheme == u"https";
        if (web && settings_.mayRequest && settings_.mayRequest(url))
            Send(u"Fetch.continueRequest"_qs, Object({{u"requestId"_qs, requestId}}), session);
        else
            Send(u"Fetch.failRequest"_qs,
                 Object({{u"requestId"_qs, requestId}, {u"errorReason"_qs, u"BlockedByClient"_qs}}), session);
    }

    std::unique_ptr<ChildProcess> child_;
    std::unique_ptr<QTemporaryDir> profile_;
    const RenderSettings settings_;
    std::thread reader_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int lastId_ = 0;
    bool dead_ = false;
    std::map<int, QJsonObject> answers_;
    std::set<int> abandoned_;
    std::map<QString, Tab> tabs_;
    std::vector<IdleTab> idle_;
};

std::unique_ptr<Renderer> Renderer::Start(RenderSettings settings, QString* error)
{
    const QString browser = RenderBrowser();
    if (browser.isEmpty()) {
        if (error)
            *error = RenderBrowserMissingText();
        return nullptr;
    }
    auto profile = std::make_unique<QTemporaryDir>();
    if (!profile->isValid()) {
        if (error)
            *error = u"cannot make a browser profile folder: "_qs + profile->errorString();
        return nullptr;
    }
    QString why;
    auto child = ChildProcess::Start(browser, BrowserArguments(profile->path(), settings), &why);
    if (!child) {
        if (error)
            *error = u"cannot start %1: %2"_qs.arg(browser, why);
        return nullptr;
    }
    auto connection = std::make_unique<Connection>(std::move(child), std::move(profile), std::move(settings));
    const auto deadline = Clock::now() + std::chrono::milliseconds(kBrowserStartMs);
    if (!connection->Call(u"Browser.getVersion"_qs, {}, {}, deadline, nullptr, &why)) {
        if (error)
            *error = u"%1 did not start: %2"_qs.arg(browser, why);
        return nullptr;
    }
    connection->Call(u"Browser.setDownloadBehavior"_qs, Object({{u"behavior"_qs, u"deny"_qs}}), {}, deadline, nullptr,
                     nullptr);
    return std::unique_ptr<Renderer>(new Renderer(std::move(connection)));
}

Renderer::Renderer(std::unique_ptr<Connection> connection) : connection_(std::move(connection)) {}

Renderer::~Renderer() = default;

// A tab for the next page: one kept from an earlier page, or a new one.
std::optional<Renderer::Connection::IdleTab> OpenTab(Renderer::Connection& browser, Clock::time_point deadline,
                                                     const std::atomic<bool>* stop, QString* error)
{
    if (auto kept = browser.TakeIdleTab())
        return kept;
    const auto target =
        browser.Call(u"Target.createTarget"_qs, Object({{u"url"_qs, u"about:blank"_qs}}), {}, deadline, stop, error);
    if (!target)
        return std::nullopt;
    Renderer::Connection::IdleTab tab{target->value(u"targetId"_qs).toString(), QString()};
    const auto attached = browser.Call(u"Target.attachToTarget"_qs,
                                       Object({{u"targetId"_qs, tab.targetId}, {u"flatten"_qs, true}}), {}, deadline,
                                       stop, error);
    if (attached)
        tab.session = attached->value(u"sessionId"_qs).toString();
    const RenderSettings& settings = browser.Settings();
    QList<QPair<QString, QJsonObject>> setup{
        {u"Page.enable"_qs, {}},
        {u"Runtime.enable"_qs, {}},
        {u"Network.enable"_qs, {}},
        {u"Page.setLifecycleEventsEnabled"_qs, Object({{u"enabled"_qs, true}})},
        {u"Fetch.enable"_qs, Object({{u"patterns"_qs, QJsonArray{Object({{u"urlPattern"_qs, u"*"_qs}})}}})},
    };
    if (!settings.userAgent.isEmpty())
        setup.append({u"Emulation.setUserAgentOverride"_qs, Object({{u"userAgent"_qs, settings.userAgent}})});
    bool ready = attached.has_value();
    for (const auto& [method, params] : setup)
        ready = ready && browser.Call(method, params, tab.session, deadline, stop, error).has_value();
    if (!ready) {
        browser.Send(u"Target.closeTarget"_qs, Object({{u"targetId"_qs, tab.targetId}}), {});
        return std::nullopt;
    }
    return tab;
}

RenderResult Renderer::Render(const QString& url, const QString& source, const std::atomic<bool>* stop)
{
    Connection& browser = *connection_;
    const RenderSettings& settings = browser.Settings();
    const int limitMs = settings.pageTimeoutMs > 0 ? settings.pageTimeoutMs : kDefaultRenderTimeoutMs;
    const auto deadline = Clock::now() + std::chrono::milliseconds(limitMs);
    RenderResult result;
    const auto stopped = [stop] { return stop && stop->load(); };
    const auto fallBack = [&result, &stopped](const QString& why) {
        result.html.clear();
        result.note = stopped() ? QString() : why + u"; read as sent"_qs;
        return result;
    };
    QString error;
    // A page the tab showed already (the same address but for its fragment)
    // would not be loaded again: it gets a tab of its own.
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::optional<Connection::IdleTab> tab = OpenTab(browser, deadline, stop, &error);
        if (!tab)
            return fallBack(u"the browser could not open a tab: "_qs + error);
        bool keep = false;
        // The tab is kept for the next page only when this one went well:
        // a page that failed or did not settle may still be busy.
        const auto release = qScopeGuard([&] {
            if (keep) {
                browser.PutIdleTab(*tab);
            } else {
                browser.RemoveTab(tab->session);
                browser.Send(u"Target.closeTarget"_qs, Object({{u"targetId"_qs, tab->targetId}}), {});
            }
        });
        browser.PrepareTab(tab->session, tab->targetId, source);
        const auto navigated =
            browser.Call(u"Page.navigate"_qs, Object({{u"url"_qs, url}}), tab->session, deadline, stop, &error);
        if (navigated && navigated->contains(u"errorText"_qs))
            error = navigated->value(u"errorText"_qs).toString();
        if (!navigated || navigated->contains(u"errorText"_qs))
            return fallBack(u"the browser could not load the page: "_qs + error);
        const QString loaderId = navigated->value(u"loaderId"_qs).toString();
        if (loaderId.isEmpty())
            continue;

        QString failure;
        switch (browser.WaitSettled(tab->session, loaderId, deadline, stop, &failure)) {
        case Connection::Wait::Settled:
            break;
        case Connection::Wait::Failed:
            return fallBack(u"a script failed: "_qs + failure);
        case Connection::Wait::TimedOut:
            return fallBack(u"the page did not settle within %1 s"_qs.arg(double(limitMs) / 1000.0));
        case Connection::Wait::Stopped:
            return result;
        case Connection::Wait::BrowserEnded:
            return fallBack(u"the browser ended"_qs);
        }
        const auto document = browser.Call(
            u"Runtime.evaluate"_qs,
            Object({{u"expression"_qs, u"document.documentElement ? document.documentElement.outerHTML : ''"_qs},
                    {u"returnByValue"_qs, true}}),
            tab->session, std::max(deadline, Clock::now() + std::chrono::milliseconds(kReadBackMs)), stop, &error);
        if (!document)
            return fallBack(u"the rendered page could not be read: "_qs + error);
        failure = browser.TabFailure(tab->session);
        if (!failure.isEmpty())
            return fallBack(u"a script failed: "_qs + failure);
        result.html = document->value(u"result"_qs).toObject().value(u"value"_qs).toString();
        keep = true;
        return result;
    }
    return fallBack(u"the browser did not load the page"_qs);
}

}  // namespace lexicrawl
