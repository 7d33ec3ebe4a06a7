#include "app/core/about_info.h"

#include "analysis/html_document.h"
#include "crawl/fetcher.h"
#include "spelling/hunspell_engine.h"
#include "spelling/zip_read.h"
#include "store/project_database.h"

namespace lexicrawl {

std::vector<LibraryInfo> LibrariesInUse()
{
    const QString curl = ClientLibraryAgent();
    return {
        {QStringLiteral("Qt"), QString::fromLatin1(qVersion()), QStringLiteral("LGPL-3.0")},
        {QStringLiteral("libcurl"), curl.mid(curl.indexOf(u'/') + 1), QStringLiteral("curl (MIT-style)")},
        {QStringLiteral("TLS"), TlsLibraryVersion(), QStringLiteral("Apache-2.0 (OpenSSL 3)")},
        {QStringLiteral("SQLite"), SqliteVersion(), QStringLiteral("public domain")},
        {QStringLiteral("Hunspell"), HunspellVersion(), QStringLiteral("MPL-1.1 / GPL-2.0 / LGPL-2.1")},
        {QStringLiteral("gumbo"), GumboVersion(), QStringLiteral("Apache-2.0")},
        {QStringLiteral("zlib"), ZlibVersion(), QStringLiteral("zlib")},
    };
}

}  // namespace lexicrawl
