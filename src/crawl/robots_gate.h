#pragma once
// The robots.txt rules of every host a crawl reaches: each origin's file is
// fetched once, when the first URL of that origin is asked about, and its
// rules then decide every URL of the origin. How the file is read follows
// the robots exclusion standard: an answer 2xx is parsed, 4xx means no
// rules, a server error or no answer means nothing may be fetched; a
// redirect is followed up to five times.
//
// Thread-safety: a RobotsGate belongs to one thread (the collector's);
// LoadRobotsRules runs on the calling thread.
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

#include "crawl/polite_fetch.h"
#include "crawl/robots_rules.h"

namespace lexicrawl {

// Fetches one URL and keeps its body (FetchSettings::keepBody).
using BodyFetch = std::function<PageFetch(const QString& url)>;

// The rules of origin ("https://host:port"), for userAgent. *warning says
// why a file that could not be read leaves everything out; empty otherwise.
RobotsRules LoadRobotsRules(const BodyFetch& fetch, const QString& origin, const QString& userAgent,
                            QString* warning);

class RobotsGate {
public:
    using Loader = std::function<RobotsRules(const QString& origin)>;
    explicit RobotsGate(Loader load) : load_(std::move(load)) {}

    // Whether the rules of url's origin have been read.
    bool Knows(const QString& url) const;
    // The rules of url's origin, read now when they have not been.
    const RobotsRules& RulesFor(const QString& url);
    bool Allows(const QString& url);

private:
    Loader load_;
    QHash<QString, RobotsRules> rules_;  // by origin
};

}  // namespace lexicrawl
