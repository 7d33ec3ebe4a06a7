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
    options.startUrl = overrides.startUrl.value_or(settings.StartUrl());
    options.subdomainScope = overrides.subdomainScope.value_or(settings.SubdomainScope());
    options.urlLimit = overrides.urlLimit.value_or(settings.PageLimit());
    options.ignoreExtensions = overrides.ignoreExtensions.value_or(settings.IgnoreExtensions());
    options.ignoreUrls = overrides.ignoreUrls.value_or(settings.IgnoreUrls());
    options.removeAnchors = overrides.removeAnchors.value_or(settings.RemoveAnchors());
    options.removeQueryString = overrides.removeQueryString.value_or(settings.RemoveQueryString());
    options.stripHtmlMarkup = overrides.stripHtmlMarkup.value_or(settings.StripHtmlMarkup());
    options.followRedirects = overrides.followRedirects.value_or(true);
    options.userAgent = overrides.userAgent.value_or(settings.Agent());
    options.insecure = overrides.insecure.value_or(settings.Insecure());
    options.robots = overrides.robots.value_or(settings.Robots());
    options.sitemaps = overrides.sitemaps.value_or(settings.Sitemaps());
    options.documents = overrides.documents.value_or(settings.Documents());
    options.connectTimeoutMs = *connectMs;
    options.readTimeoutMs = *readMs;
    options.connections = overrides.connections.value_or(settings.Connections());
    options.delayMs = overrides.delayMs.value_or(options.delayMs);
    options.location = overrides.location.value_or(settings.MemoryDatabase() ? DatabaseLocation::Memory
                                                                                : DatabaseLocation::File);
    options.render = overrides.render.value_or(settings.Render());
    options.renderTimeoutMs = overrides.renderTimeoutMs.value_or(settings.RenderTimeoutMs());
    options.renderAllowedHosts = overrides.renderAllowedHosts.value_or(settings.RenderAllowedHosts());
    options.text.mode = overrides.textMode.value_or(settings.Text());
    options.text.checkAltAndTitle =
        options.text.Prose() && overrides.checkAltAndTitle.value_or(settings.CheckAltAndTitle());
    options.text.wordEvidence = overrides.wordEvidence.value_or(true);
    return options;
}

}  // namespace lexicrawl
