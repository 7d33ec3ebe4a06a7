#pragma once
// The crawl options as settings.ini holds them, so that every front end
// starts a crawl with the same values the window would: the scope, the
// limit, the time-outs, the agent, the ignore lists, the link options, the
// database location and the text mode. "Follow Redirects" is not stored: it
// is on.
#include <QString>

#include <optional>

#include "crawl/crawl_options.h"

namespace lexicrawl {

class Settings;

// Nothing, with the reason in *error, when a stored time-out is not a whole
// number ("'%s' is not a valid integer value").
std::optional<CrawlOptions> CrawlOptionsFromSettings(const Settings& settings, QString* error);

}  // namespace lexicrawl
