#pragma once
// The section "Settings" of settings.ini in the data folder: held in memory,
// read with each key's own rules and defaults, and rewritten whole the moment
// any key changes. The file is UTF-8 with a byte-order mark and CR LF lines;
// it is written to a temporary file and renamed over the old one, so a crash
// or a full disk never leaves half a file.
//
// Thread-safety: not thread-safe; use it from one thread (the main one).
#include <QSize>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

#include "crawl/text_options.h"

namespace lexicrawl {

class Settings {
public:
    // Built-in values of the options.
    static QString DefaultStartUrl();
    static QString DefaultAgent();
    static QStringList AgentPresets();
    static QString DefaultIgnoreExtensions();
    static QString DefaultIgnoreUrls();
    static QString DefaultDictionaryLanguage();

    // Opens dataFolder + "settings.ini". A file that cannot be read is
    // deleted and replaced by an empty one; every key then has its default.
    explicit Settings(const QString& dataFolder);
    QString FilePath() const { return path_; }

    // Raw access; keys are matched without regard to case.
    bool Has(const QString& key) const;
    QString Raw(const QString& key) const;
    // Stores the value and rewrites the file at once; false when the write failed.
    bool SetRaw(const QString& key, const QString& value);
    // Reset to Defaults: deletes the file and forgets every key.
    bool DeleteFile();

    QString LanguageFile() const;
    bool SetLanguageFile(const QString& fileName);

    // Window geometry.
    bool HasPosition() const;  // Left and Top both present
    int Left() const;
    int Top() const;
    int Width(QSize screen) const;
    int Height(QSize screen) const;
    bool Maximized() const;
    bool SetPosition(int left, int top);
    bool SetSize(int width, int height);
    bool SetMaximized(bool maximized);

    bool SubdomainScope() const;  // "Domain" = "Subdomain"
    bool SetSubdomainScope(bool subdomain);
    QString StartUrl() const;
    bool SetStartUrl(const QString& url);
    bool ShowOptions() const;
    bool SetShowOptions(bool show);
    bool RemoveAnchors() const;
    bool SetRemoveAnchors(bool on);
    bool RemoveQueryString() const;
    bool SetRemoveQueryString(bool on);
    QString ConnectionTimeout() const;  // digits, as the box shows them
    bool SetConnectionTimeout(const QString& ms);
    QString ResponseTimeout() const;
    bool SetResponseTimeout(const QString& ms);
    QString Agent() const;
    bool SetAgent(const QString& agent);
    QString IgnoreExtensions() const;
    bool SetIgnoreExtensions(const QString& extensions);
    // The Ignore URLs box text: patterns one per line, CR LF between them.
    QString IgnoreUrls() const;
    bool SetIgnoreUrls(const QString& boxText);
    int PageLimit() const;
    bool SetPageLimit(int limit);
    int Connections() const;  // requests in flight at once, 1 to 16
    bool SetConnections(int connections);
    bool MemoryDatabase() const;  // "DefaultDatabaseLocation" = "Memory"
    bool SetMemoryDatabase(bool memory);
    bool DisplayUnfinishedResults() const;
    bool SetDisplayUnfinishedResults(bool on);
    bool StripHtmlMarkup() const;
    bool SetStripHtmlMarkup(bool on);
    QString DictionaryLanguage() const;
    bool SetDictionaryLanguage(const QString& name);
    // How the words of a page are read: exactly "Prose" gives the prose
    // reading, anything else (or nothing) the standard one.
    TextMode Text() const;
    bool SetText(TextMode mode);
    // Prose reading: exactly "ON" checks the alt and title texts too.
    bool CheckAltAndTitle() const;
    // "Insecure" = "ON": certificates of https pages are not verified.
    bool Insecure() const;
    bool SetCheckAltAndTitle(bool on);
    // "Robots", "Sitemaps" = "ON": a crawl obeys robots.txt, reads the
    // sitemaps; off unless exactly "ON".
    bool Robots() const;
    bool SetRobots(bool on);
    bool Sitemaps() const;
    bool SetSitemaps(bool on);
    // "Documents" = "ON": a crawl reads linked PDF, ODT and DOCX documents.
    bool Documents() const;
    bool SetDocuments(bool on);
    bool SetInsecure(bool on);
    // "Render" = "ON": pages are rendered in a browser before they are read.
    bool Render() const;
    bool SetRender(bool on);
    // "RenderTimeout": a page's rendering bound in milliseconds; 0 when
    // unset or not a positive whole number (the renderer's own bound).
    int RenderTimeoutMs() const;
    // "RenderAllowHosts": other hosts, separated by spaces, that a rendered
    // page may ask (a shared script or data service).
    QStringList RenderAllowedHosts() const;

private:
    void Read();
    bool Write() const;
    QString NonEmptyOr(const QString& key, const QString& fallback) const;
    bool SetOnOff(const QString& key, bool on, const char* onText, const char* offText);

    QString path_;
    // Other sections are kept as they were read so that a rewrite loses nothing.
    struct Section {
        QString name;
        std::vector<std::pair<QString, QString>> entries;
    };
    std::vector<Section> sections_;
    Section& SettingsSection();
    const Section* FindSettings() const;
};

}  // namespace lexicrawl
