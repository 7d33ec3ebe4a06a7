#include "spelling/verdict_cache.h"

#include <QCryptographicHash>
#include <QDir>

#include <mutex>

#include "spelling/engine_clock.h"
#include "spelling/hunspell_engine.h"

namespace lexicrawl {

namespace {

std::mutex g_folderLock;
QString g_folder;

}  // namespace

void SetVerdictCacheFolder(const QString& folder)
{
    if (!folder.isEmpty())
        QDir().mkpath(folder);
    std::lock_guard<std::mutex> guard(g_folderLock);
    g_folder = folder;
}

QString VerdictCacheFolder()
{
    std::lock_guard<std::mutex> guard(g_folderLock);
    return g_folder;
}

QByteArray VerdictKey(const QByteArray& affix, const QByteArray& words)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData("lexicrawl word verdicts 1\n");
    hash.addData(QByteArray(LEXICRAWL_HUNSPELL_VERSION "\n"));
    // A library swapped without a rebuild may suggest otherwise.
    hash.addData(LoadedHunspellLibrary().toUtf8() + '\n');
    hash.addData(QByteArray::number(qlonglong(kEngineTicksPerReading)) + '\n');
    hash.addData(QByteArray::number(affix.size()) + '\n');
    hash.addData(affix);
    hash.addData(QByteArray::number(words.size()) + '\n');
    hash.addData(words);
    return hash.result();
}

QString VerdictFilePath(const QString& folder, const QString& internalFileId)
{
    QString name = internalFileId;
    for (QChar& c : name) {
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'.' && c != u'-' && c != u'_')
            c = u'_';
    }
    return QDir(folder).filePath(name + QStringLiteral(".verdicts"));
}

}  // namespace lexicrawl
