#pragma once
// The options a front end hands to Start: the texts and check marks of its
// controls as the user left them. Start converts and captures them; the
// three link options are then kept live in CrawlState::Options.
#include <QString>

#include "store/project_database.h"

namespace lexicrawl {

struct CrawlOptions {
    QString StartUrl;                 // the URL field's text
    bool SubdomainScope = false;      // "Subdomain Name" rather than "Domain Name"
    QString UrlLimitText = QStringLiteral("50");  // not a whole number: limit 1
    QString IgnoreExtensionsText;     // space-separated extensions
    QString IgnoreUrlsText;           // one wildcard mask per line
    bool RemoveAnchors = true;
    bool RemoveQueryString = false;
    bool StripHtmlMarkup = true;
    bool FollowRedirects = true;      // take over the start URL's first redirect
    bool DisplayUnfinishedResults = true;
    QString UserAgent;                // taken untrimmed; empty sends none
    QString ConnectTimeoutText = QStringLiteral("10000");  // milliseconds
    QString ReadTimeoutText = QStringLiteral("10000");
    DatabaseLocation Location = DatabaseLocation::File;
};

}  // namespace lexicrawl
