#include "app/core/crawl_settings.h"

#include "app/core/settings.h"

namespace lexicrawl {

std::optional<CrawlOptions> CrawlOptionsFromSettings(const Settings& settings, QString* error)
{
    CrawlOptions options;
    const auto connectMs = TimeoutFromText(settings.ConnectionTimeout());
    const auto readMs = TimeoutFromText(settings.ResponseTimeout());
    if (!connectMs || !readMs) {
        if (error)
            *error = InvalidIntegerText(connectMs ? settings.ResponseTimeout() : settings.ConnectionTimeout());
        return std::nullopt;
    }
    options.StartUrl = settings.StartUrl();
    options.SubdomainScope = settings.SubdomainScope();
    options.UrlLimit = settings.PageLimit();
    options.IgnoreExtensions = settings.IgnoreExtensions();
    options.IgnoreUrls = settings.IgnoreUrls();
    options.RemoveAnchors = settings.RemoveAnchors();
    options.RemoveQueryString = settings.RemoveQueryString();
    options.StripHtmlMarkup = settings.StripHtmlMarkup();
    options.UserAgent = settings.Agent();
    options.ConnectTimeoutMs = *connectMs;
    options.ReadTimeoutMs = *readMs;
    options.Connections = settings.Connections();
    options.Location = settings.MemoryDatabase() ? DatabaseLocation::Memory : DatabaseLocation::File;
    options.Text = TextOptions{settings.Text(), settings.CheckAltAndTitle()};
    return options;
}

}  // namespace lexicrawl
