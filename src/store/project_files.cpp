#include "store/project_files.h"

#include <QFile>

#include "platform/user_message.h"
#include "store/project_database.h"

namespace lexicrawl {

bool OpenProjectFile(ProjectDatabase& db, const QString& projectPath, QStringList* urls)
{
    urls->clear();
    if (db.WorkingFilePath().isEmpty())
        db.ChooseWorkingFile();
    // A failed copy is not reported by itself: the open below then fails,
    // since the working file does not exist (the open never creates one).
    QFile::remove(db.WorkingFilePath());
    if (QFile::copy(projectPath, db.WorkingFilePath()))  // the copy is ours to write, whatever the original allows
        QFile::setPermissions(db.WorkingFilePath(), QFile::ReadOwner | QFile::WriteOwner);
    if (!db.OpenWorkingFile())
        return false;
    try {
        db.Query(QStringLiteral("SELECT URL FROM PAGES;"), [&](const Row& row) { urls->append(row.At(0)); });
    } catch (const DatabaseError& e) {
        urls->clear();
        ReportMessage(StatementFailureText(e.Text()));
        return false;
    }
    return true;
}

QString ProjectStartUrl(ProjectDatabase& db)
{
    QString url;
    db.Query(QStringLiteral("SELECT URL FROM PAGES ORDER BY ID LIMIT 1;"), [&](const Row& row) { url = row.At(0); });
    return url;
}

bool SaveProjectAs(ProjectDatabase& db, const QString& destination, QString* error)
{
    return db.SaveCopyTo(destination, error);
}

}  // namespace lexicrawl
