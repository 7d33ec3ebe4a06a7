#include "crawl/robots_rules.h"

#include <QList>

#include <algorithm>
#include <cmath>

namespace lexicrawl {

namespace {

// The longest crawl delay honoured: a robots.txt asking for hours between
// two requests would stall the crawl for good.
constexpr int kMaxCrawlDelayMs = 60'000;

bool IsUnreserved(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One spelling for every path, so that rules and URLs compare octet by
// octet: bytes outside ASCII and controls percent-encoded, an encoded
// unreserved character decoded, the hex digits of every other escape in
// capitals.
QByteArray NormalisePath(const QByteArray& raw)
{
    static const char kHex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const auto c = static_cast<unsigned char>(raw[i]);
        if (c == '%' && i + 2 < raw.size() && HexValue(raw[i + 1]) >= 0 && HexValue(raw[i + 2]) >= 0) {
            const char decoded = char(HexValue(raw[i + 1]) * 16 + HexValue(raw[i + 2]));
            if (IsUnreserved(decoded)) {
                out.append(decoded);
            } else {
                out.append('%');
                out.append(kHex[static_cast<unsigned char>(decoded) >> 4]);
                out.append(kHex[static_cast<unsigned char>(decoded) & 15]);
            }
            i += 2;
        } else if (c >= 0x80 || c <= 0x20 || c == 0x7f) {
            out.append('%');
            out.append(kHex[c >> 4]);
            out.append(kHex[c & 15]);
        } else {
            out.append(char(c));
        }
    }
    return out;
}

// The user-agent header's tokens, lower-cased: runs of letters, digits,
// "-" and "_".
QList<QByteArray> AgentTokens(const QString& userAgent)
{
    QList<QByteArray> tokens;
    QByteArray token;
    for (const char c : userAgent.toUtf8().toLower()) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_') {
            token.append(c);
        } else if (!token.isEmpty()) {
            tokens.append(token);
            token.clear();
        }
    }
    if (!token.isEmpty())
        tokens.append(token);
    return tokens;
}

struct Group {
    QList<QByteArray> agents;  // lower-cased
    std::vector<std::pair<QByteArray, bool>> rules;  // pattern, allow
    double crawlDelaySeconds = -1;
};

std::vector<Group> ReadGroups(const QByteArray& text, QStringList* sitemaps)
{
    std::vector<Group> groups;
    bool lastWasAgent = false;
    QByteArray lines = text.left(RobotsRules::MaxBytes);
    if (lines.startsWith("\xEF\xBB\xBF"))
        lines.remove(0, 3);  // a byte-order mark would hide the first key
    lines.replace('\r', '\n');  // CR, LF and CR LF all end a line
    for (QByteArray line : lines.split('\n')) {
        const qsizetype hash = line.indexOf('#');
        if (hash >= 0)
            line.truncate(hash);
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QByteArray key = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (key == "user-agent") {
            if (!lastWasAgent || groups.empty())
                groups.emplace_back();
            groups.back().agents.append(value.toLower());
            lastWasAgent = true;
            continue;
        }
        if (key == "sitemap") {
            if (!value.isEmpty())
                sitemaps->append(QString::fromUtf8(value));
            continue;  // belongs to no group, and does not end one
        }
        lastWasAgent = false;
        if (groups.empty())
            continue;  // a rule before any user-agent line applies to no one
        if (key == "allow" || key == "disallow") {
            if (!value.isEmpty())  // an empty Disallow allows everything: no rule
                groups.back().rules.emplace_back(value, key == "allow");
        } else if (key == "crawl-delay") {
            bool ok = false;
            const double seconds = value.toDouble(&ok);
            if (ok && std::isfinite(seconds) && seconds >= 0)
                groups.back().crawlDelaySeconds = seconds;
        }
    }
    return groups;
}

bool AgentApplies(const QByteArray& agent, const QList<QByteArray>& tokens)
{
    return agent == "lexicrawl" || tokens.contains(agent);
}

}  // namespace

RobotsRules RobotsRules::DisallowAll()
{
    RobotsRules rules;
    rules.disallowAll_ = true;
    return rules;
}

RobotsRules RobotsRules::Parse(const QByteArray& text, const QString& userAgent)
{
    RobotsRules result;
    const std::vector<Group> groups = ReadGroups(text, &result.sitemaps_);
    const QList<QByteArray> tokens = AgentTokens(userAgent);

    // The groups that name this crawler, merged; failing those, the groups
    // for "*", merged.
    std::vector<const Group*> applying;
    for (const Group& g : groups)
        if (std::any_of(g.agents.begin(), g.agents.end(),
                        [&](const QByteArray& a) { return a != "*" && AgentApplies(a, tokens); }))
            applying.push_back(&g);
    if (applying.empty())
        for (const Group& g : groups)
            if (g.agents.contains("*"))
                applying.push_back(&g);

    double delay = 0;
    for (const Group* g : applying) {
        for (const auto& [pattern, allow] : g->rules)
            result.rules_.push_back({NormalisePath(pattern), allow});
        delay = std::max(delay, g->crawlDelaySeconds);
    }
    result.crawlDelayMs_ = int(std::min<double>(delay * 1000.0, kMaxCrawlDelayMs));
    return result;
}

bool RobotsRules::Matches(const QByteArray& pattern, const QByteArray& path)
{
    // A rule matches a prefix of the path unless it ends in "$"; "*" is any
    // run. With "*" the only wildcard, the text between two stars may stand
    // at its first place after the one before it: each piece is searched for
    // once, so a rule costs about its length plus the path's, whatever a
    // hostile robots.txt writes.
    QByteArrayView rest(pattern);
    const bool anchored = rest.endsWith('$');
    if (anchored)
        rest.chop(1);
    const QByteArrayView text(path);
    qsizetype star = rest.indexOf('*');
    if (star < 0)
        return anchored ? text == rest : text.startsWith(rest);
    if (!text.startsWith(rest.first(star)))
        return false;
    qsizetype at = star;
    rest = rest.sliced(star + 1);
    while ((star = rest.indexOf('*')) >= 0) {
        const QByteArrayView piece = rest.first(star);
        const qsizetype found = text.indexOf(piece, at);
        if (found < 0)
            return false;
        at = found + piece.size();
        rest = rest.sliced(star + 1);
    }
    if (anchored)
        return text.size() - at >= rest.size() && text.endsWith(rest);
    return text.indexOf(rest, at) >= 0;
}

bool RobotsRules::Allows(const QString& pathAndQuery) const
{
    QByteArray path = NormalisePath(pathAndQuery.toUtf8());
    if (path.isEmpty())
        path = "/";
    if (path == "/robots.txt")
        return true;
    if (disallowAll_)
        return false;
    qsizetype bestLength = -1;
    bool allowed = true;
    for (const Rule& rule : rules_) {
        if (!Matches(rule.pattern, path))
            continue;
        const qsizetype length = rule.pattern.size();
        if (length > bestLength || (length == bestLength && rule.allow)) {
            bestLength = length;
            allowed = rule.allow;
        }
    }
    return allowed;
}

QString RobotsRules::PathOf(const QString& url)
{
    qsizetype start = 0;
    const qsizetype scheme = url.indexOf(QLatin1String("://"));
    if (scheme >= 0) {
        start = scheme + 3;
        while (start < url.size() && url[start] != u'/' && url[start] != u'?' && url[start] != u'#')
            ++start;
    }
    qsizetype end = url.indexOf(u'#', start);
    if (end < 0)
        end = url.size();
    QString path = url.mid(start, end - start);
    if (path.isEmpty() || path.startsWith(u'?'))
        path.prepend(u'/');
    return path;
}

}  // namespace lexicrawl
