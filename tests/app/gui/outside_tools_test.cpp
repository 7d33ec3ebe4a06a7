#include <gtest/gtest.h>

#include "app/gui/outside_tools.h"
#include "support/qt_printers.h"

using namespace lexicrawl::gui;

namespace {

TEST(OutsideTools, AddressesCarryTheUrlAsItStands)
{
    struct Case {
        OutsideTool tool;
        const char* url;
        const char* address;
    } cases[] = {
        // Yahoo gets the URL without its scheme; the others with it.
        {OutsideTool::Google, "https://a.test/p q", "https://www.google.com/search?q=site:https://a.test/p q"},
        {OutsideTool::Yahoo, "https://a.test/", "https://search.yahoo.com/search?p=url:a.test/"},
        {OutsideTool::Bing, "http://a.test/é", "https://www.bing.com/search?q=url:http://a.test/é"},
        {OutsideTool::Yandex, "a.test", "https://yandex.com/search/?text=url:a.test"},
        {OutsideTool::WaybackMachine, "http://a.test/x", "http://web.archive.org/web/*/http://a.test/x"},
        {OutsideTool::StructuredDataTestingTool, "http://a.test/",
         "https://search.google.com/structured-data/testing-tool/u/0/#url=http://a.test/"},
        // Without a scheme there is no site root: the paths are joined directly.
        {OutsideTool::DomainIpList, "www.a.test/page", "https://www.virustotal.com/gui/domain//relations"},
        {OutsideTool::RobotsTxt, "www.a.test/page", "/robots.txt"},
        // The domain report takes the host alone; robots.txt keeps the port.
        {OutsideTool::DomainIpList, "http://www.a.test:8080/x", "https://www.virustotal.com/gui/domain/www.a.test/relations"},
        {OutsideTool::RobotsTxt, "http://127.0.0.1:8080/x", "http://127.0.0.1:8080/robots.txt"},
        // Only the registrable domain, empty for an IP address.
        {OutsideTool::AlexaData, "http://shop.example.co.uk/x", "http://data.alexa.com/data?cli=10&url=example.co.uk"},
        {OutsideTool::AlexaData, "http://10.0.0.1/x", "http://data.alexa.com/data?cli=10&url="},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OutsideToolAddress(c.tool, QString::fromUtf8(c.url)), QString::fromUtf8(c.address)) << c.url;
    EXPECT_EQ(IndexSearches().first(), OutsideTool::Google);  // "All" opens Google first
    EXPECT_EQ(OnlineHelpAddress(QStringLiteral("Lexicrawl Pro")), QStringLiteral("https://norvane.example/help/lexicrawl-pro/"));
}

}  // namespace
