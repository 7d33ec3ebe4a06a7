#include "app/core/app_identity.h"

namespace lexicrawl {

QString CompanyName() { return QStringLiteral("NORVANE"); }
QString ProductName() { return QStringLiteral("Lexicrawl"); }
QString ApplicationTitle() { return CompanyName() + QStringLiteral(" - ") + ProductName(); }

QString VersionText()
{
    return QString::asprintf("%d.%d", LEXICRAWL_VERSION_MAJOR, LEXICRAWL_VERSION_MINOR);
}

}  // namespace lexicrawl
