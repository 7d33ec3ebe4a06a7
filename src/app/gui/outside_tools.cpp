#include "app/gui/outside_tools.h"

#include "crawl/url_text.h"

namespace lexicrawl::gui {

QString OutsideToolCaption(OutsideTool tool)
{
    switch (tool) {
    case OutsideTool::Google: return QStringLiteral("Google");
    case OutsideTool::Yahoo: return QStringLiteral("Yahoo");
    case OutsideTool::Bing: return QStringLiteral("Bing");
    case OutsideTool::Yandex: return QStringLiteral("Yandex");
    case OutsideTool::GoogleWebCache: return QStringLiteral("Google Web Cache");
    case OutsideTool::PageSpeedInsights: return QStringLiteral("Google PageSpeed Insights");
    case OutsideTool::StructuredDataTestingTool: return QStringLiteral("Google Structured Data Testing Tool");
    case OutsideTool::MobileFriendlyTest: return QStringLiteral("Google Mobile Friendly Test");
    case OutsideTool::RichResultsTest: return QStringLiteral("Google Rich Results Test");
    case OutsideTool::WaybackMachine: return QStringLiteral("Wayback Machine");
    case OutsideTool::DomainIpList: return QStringLiteral("Domain IP List");
    case OutsideTool::W3cValidator: return QStringLiteral("Check HTML with W3C Validator");
    case OutsideTool::AlexaData: return QStringLiteral("Alexa Data");
    case OutsideTool::AmpValidator: return QStringLiteral("AMP Validator");
    case OutsideTool::RobotsTxt: return QStringLiteral("Robots.txt");
    }
    return QString();
}

QString OutsideToolAddress(OutsideTool tool, const QString& url)
{
    switch (tool) {
    case OutsideTool::Google:
        return QStringLiteral("https://www.google.com/search?q=site:") + url;
    case OutsideTool::Yahoo:
        return QStringLiteral("https://search.yahoo.com/search?p=url:") + StripScheme(url);
    case OutsideTool::Bing:
        return QStringLiteral("https://www.bing.com/search?q=url:") + url;
    case OutsideTool::Yandex:
        return QStringLiteral("https://yandex.com/search/?text=url:") + url;
    case OutsideTool::GoogleWebCache:
        return QStringLiteral("http://webcache.googleusercontent.com/search?q=cache:") + url;
    case OutsideTool::PageSpeedInsights:
        return QStringLiteral("https://developers.google.com/speed/pagespeed/insights/?url=") + url;
    case OutsideTool::StructuredDataTestingTool:
        return QStringLiteral("https://search.google.com/structured-data/testing-tool/u/0/#url=") + url;
    case OutsideTool::MobileFriendlyTest:
        return QStringLiteral("https://search.google.com/test/mobile-friendly?url=") + url;
    case OutsideTool::RichResultsTest:
        return QStringLiteral("https://search.google.com/test/rich-results?url=") + url;
    case OutsideTool::WaybackMachine:
        return QStringLiteral("http://web.archive.org/web/*/") + url;
    case OutsideTool::DomainIpList:
        // The host alone: no port, no user information.
        return QStringLiteral("https://www.virustotal.com/gui/domain/") + ScopeHost(url) + QStringLiteral("/relations");
    case OutsideTool::W3cValidator:
        return QStringLiteral("http://validator.w3.org/check?uri=") + url;
    case OutsideTool::AlexaData:
        return QStringLiteral("http://data.alexa.com/data?cli=10&url=") + DomainOf(url);
    case OutsideTool::AmpValidator:
        return QStringLiteral("https://validator.ampproject.org/#url=") + url;
    case OutsideTool::RobotsTxt:
        return SiteRoot(url) + QStringLiteral("/robots.txt");
    }
    return QString();
}

QList<OutsideTool> IndexSearches()
{
    return {OutsideTool::Google, OutsideTool::Yahoo, OutsideTool::Bing, OutsideTool::Yandex};
}

QList<OutsideTool> WebTools()
{
    return {OutsideTool::GoogleWebCache,    OutsideTool::PageSpeedInsights, OutsideTool::StructuredDataTestingTool,
            OutsideTool::MobileFriendlyTest, OutsideTool::RichResultsTest,  OutsideTool::WaybackMachine,
            OutsideTool::DomainIpList,       OutsideTool::W3cValidator,     OutsideTool::AlexaData,
            OutsideTool::AmpValidator,       OutsideTool::RobotsTxt};
}

QString OnlineHelpAddress(const QString& productName)
{
    return QStringLiteral("https://norvane.example/help/") + productName.toLower().replace(QLatin1Char(' '), u'-') +
           QLatin1Char('/');
}

}  // namespace lexicrawl::gui
