#include "platform/headless_platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMutexLocker>
#include <QProcess>
#include <QStandardPaths>

#include <cstdio>
#include <unistd.h>

#include "platform/language_ids.h"
#include "platform/text.h"

namespace lexicrawl {

namespace {

void WriteErr(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}


QString ExecutablePath()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

// <prefix>/share/lexicrawl/ when the executable lies in <prefix>/bin and
// the run-time files are installed there; else empty.
QString InstalledDataFolder()
{
    const QString beside = QFileInfo(ExecutablePath()).absolutePath();
    const QString installed = QDir::cleanPath(beside + QStringLiteral("/../share/lexicrawl"));
    if (QFileInfo::exists(installed + QStringLiteral("/empty.db")))
        return WithTrailingSlash(installed);
    return QString();
}

}  // namespace

QString PosixMessagesLocale()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray v = qgetenv(name);
        if (!v.isEmpty())
            return QString::fromLocal8Bit(v);
    }
    return QStringLiteral("C");
}

HeadlessPlatform::HeadlessPlatform() = default;

void HeadlessPlatform::ShowMessage(const QString& text)
{
    QMutexLocker lock(&mutex_);
    if (!quiet_)
        WriteErr(text);
}

void HeadlessPlatform::MessageBox(const QString& title, const QString& text, MessageIcon)
{
    QMutexLocker lock(&mutex_);
    if (!quiet_)
        WriteErr(title.isEmpty() ? text : title + QStringLiteral(": ") + text);
}

bool HeadlessPlatform::Confirm(const QString&, const QString&, const QString&, const QString&)
{
    return false;  // nobody to ask
}

bool HeadlessPlatform::OpenDocument(const QString& target)
{
    return QProcess::startDetached(QStringLiteral("xdg-open"), {target});
}

bool HeadlessPlatform::StartNewInstance(const QString& commandLine)
{
    QStringList args;
    if (!commandLine.isEmpty())
        args << commandLine;
    return QProcess::startDetached(ExecutablePath(), args, QDir::currentPath());
}

// A detached shell waits for this process to end, a second more, and starts
// the program again; it does not depend on this process in any way.
bool HeadlessPlatform::RestartWhenEnded()
{
    const QString script = QStringLiteral("while kill -0 %1 2>/dev/null; do sleep 0.2; done; sleep 1; exec \"$0\"")
                               .arg(QCoreApplication::applicationPid());
    return QProcess::startDetached(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script, ExecutablePath()},
                                   QDir::homePath());
}

void HeadlessPlatform::SetClipboardText(const QString& text)
{
    QMutexLocker lock(&mutex_);
    clipboard_ = text;
}

QString HeadlessPlatform::ClipboardText() const
{
    QMutexLocker lock(&mutex_);
    return clipboard_;
}

void HeadlessPlatform::SetQuiet(bool quiet)
{
    QMutexLocker lock(&mutex_);
    quiet_ = quiet;
}

void HeadlessPlatform::Beep()
{
    if (isatty(STDERR_FILENO))
        std::fputc('\a', stderr);
}

QChar HeadlessPlatform::DecimalSeparator() const
{
    const QString d = QLocale::system().decimalPoint();
    return d.isEmpty() ? QLatin1Char('.') : d.at(0);
}

QChar HeadlessPlatform::ListSeparator() const
{
    return ListSeparatorFor(DecimalSeparator());
}

int HeadlessPlatform::UiLanguageId() const
{
    return LangIdForPosixLocale(PosixMessagesLocale());
}

// In the build tree the run-time files (empty.db, Languages/, Dictionaries/)
// lie beside the executable; installed, the executable is in .../bin and
// they are in .../share/lexicrawl.
QString HeadlessPlatform::ProgramFolder() const
{
    const QString beside = WithTrailingSlash(QFileInfo(ExecutablePath()).absolutePath());
    if (QFileInfo::exists(beside + QStringLiteral("empty.db")))
        return beside;
    const QString installed = InstalledDataFolder();
    return installed.isEmpty() ? beside : installed;
}

bool HeadlessPlatform::IsInstalled() const
{
    const QString beside = WithTrailingSlash(QFileInfo(ExecutablePath()).absolutePath());
    return !QFileInfo::exists(beside + QStringLiteral("empty.db")) && !InstalledDataFolder().isEmpty();
}

QString HeadlessPlatform::RoamingDataFolder() const
{
    QString base = QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME"));
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return WithTrailingSlash(base);
}

}  // namespace lexicrawl
