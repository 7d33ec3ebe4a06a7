#include "app/core/word_approvals.h"

#include <QFile>
#include <QMutexLocker>

#include <algorithm>

#include "analysis/word_context.h"
#include "platform/text.h"
#include "store/project_database.h"
#include "store/sql_quote.h"

namespace lexicrawl {

void WordApprovals::Add(ApprovalKind kind, const QString& word)
{
    QMutexLocker lock(&mutex_);
    Set(kind).insert(LowerAZ(word.trimmed()));
}

void WordApprovals::AddAll(ApprovalKind kind, const QStringList& words)
{
    QMutexLocker lock(&mutex_);
    for (const QString& word : words)
        Set(kind).insert(LowerAZ(word.trimmed()));
}

void WordApprovals::SetSite(const QStringList& words)
{
    QMutexLocker lock(&mutex_);
    site_.clear();
    for (const QString& word : words)
        site_.insert(LowerAZ(word.trimmed()));
}

QStringList WordApprovals::Site() const
{
    QMutexLocker lock(&mutex_);
    QStringList words = site_.values();
    words.sort();
    return words;
}

bool WordApprovals::Contains(const QString& word) const
{
    QMutexLocker lock(&mutex_);
    return site_.contains(word) || ignored_.contains(word) || personal_.contains(word);
}

QSet<QString>& WordApprovals::Set(ApprovalKind kind)
{
    return kind == ApprovalKind::Site ? site_ : kind == ApprovalKind::Ignored ? ignored_ : personal_;
}

qsizetype RemoveApproved(std::vector<UnknownWord>& words, const WordApprovals& approvals)
{
    const auto kept = std::remove_if(words.begin(), words.end(),
                                     [&](const UnknownWord& w) { return approvals.Contains(w.word); });
    const qsizetype removed = qsizetype(words.end() - kept);
    words.erase(kept, words.end());
    return removed;
}

QStringList LoadSiteApprovals(ProjectDatabase& database)
{
    QStringList words;
    if (!HasTable(database, QStringLiteral("APPROVED")))
        return words;
    database.Query(QStringLiteral("SELECT WORD FROM APPROVED order by ID;"),
                   [&words](const Row& row) { words << row.At(0); });
    return words;
}

void StoreSiteApprovals(ProjectDatabase& database, const QStringList& words)
{
    Transaction transaction(database);
    database.Execute(
        QStringLiteral("CREATE TABLE IF NOT EXISTS APPROVED (ID INTEGER PRIMARY KEY AUTOINCREMENT, WORD TEXT);"));
    const QStringList stored = LoadSiteApprovals(database);
    for (const QString& word : words) {
        if (!stored.contains(word))
            database.Execute(QStringLiteral("insert into APPROVED (WORD) values (") + SqlQuote(word) +
                             QStringLiteral(");"));
    }
    transaction.Commit();
}

bool ReadWordListFile(const QString& path, QStringList& words, QString* error)
{
    words.clear();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    for (const QString& line : SplitLines(QString::fromUtf8(file.readAll()))) {
        const QString word = line.trimmed();
        if (!word.isEmpty())
            words << word;
    }
    return true;
}

bool AppendToWordListFile(const QString& path, const QString& word, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray line = (word + QStringLiteral("\r\n")).toUtf8();
    if (file.write(line) != line.size()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace lexicrawl
