#pragma once
// The addresses of the outside web tools a URL is sent to: web searches that
// check the index, caches, speed and structured-data tests, an archive, a
// domain report, validators and the site's robots.txt. Each is a base of our
// choosing followed by the path and query the tool expects, with the URL
// appended as it stands, never percent-encoded.
//
// Thread-safety: pure functions.
#include <QString>
#include <QStringList>

namespace lexicrawl::gui {

enum class OutsideTool {
    Google,
    Yahoo,
    Bing,
    Yandex,
    GoogleWebCache,
    PageSpeedInsights,
    StructuredDataTestingTool,
    MobileFriendlyTest,
    RichResultsTest,
    WaybackMachine,
    DomainIpList,
    W3cValidator,
    AlexaData,
    AmpValidator,
    RobotsTxt,
};

// The caption of the tool's menu item (not translated).
QString OutsideToolCaption(OutsideTool tool);
// The address that opens the tool for url.
QString OutsideToolAddress(OutsideTool tool, const QString& url);
// The tools of the Start drop-down after the "Check Index" submenu, in menu order.
QList<OutsideTool> WebTools();
// The "Check Index" searches, in menu order ("All" opens them in this order).
QList<OutsideTool> IndexSearches();

// The online help page: the maker's site, "/help/", the product name
// lower-cased with spaces as "-", and "/".
QString OnlineHelpAddress(const QString& productName);

}  // namespace lexicrawl::gui
