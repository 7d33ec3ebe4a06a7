#include "app/core/crawl_settings.h"

#include "app/core/settings.h"

namespace lexicrawl {

std::optional<CrawlOptions> CrawlOptionsFromSettings(const Settings& settings, const CrawlOverrides& overrides,
                                                     QString* error)
{
    const auto connectMs =
        overrides.connectTimeoutMs ? overrides.connectTimeoutMs : TimeoutFromText(settings.ConnectionTimeout());
    const auto readMs = overrides.readTimeoutMs ? overrides.readTimeoutMs : TimeoutFromText(settings.ResponseTimeout());
    if (!connectMs || !readMs) {
        if (error)
            *error = InvalidIntegerText(connectMs ? settings.ResponseTimeout() : settings.ConnectionTimeout());
        return std::nullopt;
    }
    CrawlOptions options;
    options.StartUrl = overrides.startUrl.value_or(settings.StartUrl());
    options.SubdomainScope = overrides.subdomainScope.value_or(settings.SubdomainScope());
    options.UrlLimit = overrides.urlLimit.value_or(settings.PageLimit());
    options.IgnoreExtensions = overrides.ignoreExtensions.value_or(settings.IgnoreExtensions());
    options.IgnoreUrls = overrides.ignoreUrls.value_or(settings.IgnoreUrls());
    options.RemoveAnchors = overrides.removeAnchors.value_or(settings.RemoveAnchors());
    options.RemoveQueryString = overrides.removeQueryString.value_or(settings.RemoveQueryString());
    options.StripHtmlMarkup = overrides.stripHtmlMarkup.value_or(settings.StripHtmlMarkup());
    options.FollowRedirects = overrides.followRedirects.value_or(true);
    options.UserAgent = overrides.userAgent.value_or(settings.Agent());
    options.ConnectTimeoutMs = *connectMs;
    options.ReadTimeoutMs = *readMs;
    options.Connections = overrides.connections.value_or(settings.Connections());
    options.DelayMs = overrides.delayMs.value_or(options.DelayMs);
    options.Location = overrides.location.value_or(settings.MemoryDatabase() ? DatabaseLocation::Memory
                                                                                : DatabaseLocation::File);
    options.Text.mode = overrides.textMode.value_or(settings.Text());
    options.Text.checkAltAndTitle =
        options.Text.Prose() && overrides.checkAltAndTitle.value_or(settings.CheckAltAndTitle());
    return options;
}

}  // namespace lexicrawl
