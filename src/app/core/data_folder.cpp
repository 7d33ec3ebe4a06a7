#include "app/core/data_folder.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include "app/core/app_identity.h"
#include "platform/text.h"

namespace lexicrawl {

namespace {


// Creates the probe as a new file (failing when one exists) and removes it at
// once, as a delete-on-close temporary file would be.
bool FolderIsWritable(const QString& folder)
{
    const QByteArray probe = QFile::encodeName(folder + QStringLiteral("chk.tmp"));
    const int fd = ::open(probe.constData(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    ::unlink(probe.constData());
    ::close(fd);
    return true;
}

}  // namespace

QString DecideDataFolder(const QString& programFolder, const QString& roamingFolder)
{
    const QString program = WithTrailingSlash(programFolder);
    if (FolderIsWritable(program))
        return program;
    return PerUserDataFolder(roamingFolder);
}

QString PerUserDataFolder(const QString& roamingFolder)
{
    const QString perUser = WithTrailingSlash(roamingFolder) + CompanyName() + QLatin1Char('/') + ProductName() + QLatin1Char('/');
    QDir().mkpath(perUser);
    return perUser;
}

}  // namespace lexicrawl
