#include "store/project_files.h"

#include <QFile>
#include <QFileInfo>

#include "platform/user_message.h"
#include "store/project_database.h"

namespace lexicrawl {

namespace {

// A statement over a project file may take this many steps of SQLite's
// machine, plus a share for every byte of the file: enough for every
// statement of the program over a file of its own, never an endless one.
constexpr qint64 kBaseSteps = 50'000'000;
constexpr qint64 kStepsPerFileByte = 400;
// No value a crawl stores comes near this (a page's body is cut at 64 MiB).
constexpr int kMaxValueBytes = 64 * 1024 * 1024;

struct ExpectedTable {
    const char* name;
    QStringList columns;
};

// The tables every project holds, with their columns.
const std::vector<ExpectedTable>& ExpectedTables()
{
    static const std::vector<ExpectedTable> tables = {
        {"LINKS", {"ID", "URL", "LINK", "FOLLOW", "TYPE", "ANCHOR"}},
        {"MISSPELLED", {"ID", "WORD", "URL"}},
        {"PAGES", {"ID", "URL", "TITLE", "DESCRIPTION", "H1TAG"}},
        {"TAGS", {"ID", "URL", "TAG", "VALUE"}},
    };
    return tables;
}

QString Upper(const QString& text)
{
    return text.toUpper();
}

// Why the open database is no project of this program, or empty. The
// program itself never makes a view, a trigger or a virtual table, so a file
// that holds one was made to run something when read.
QString SchemaProblem(ProjectDatabase& db)
{
    QString problem;
    QStringList tables;
    db.Query(QStringLiteral("SELECT type, name, sql FROM sqlite_schema;"), [&](const Row& row) {
        const QString type = row.At(0), name = row.At(1);
        if (!problem.isEmpty())
            return;
        if (type == QLatin1String("view") || type == QLatin1String("trigger"))
            problem = QStringLiteral("it holds a %1 named %2").arg(type, name);
        else if (type == QLatin1String("table") && Upper(row.At(2)).startsWith(QLatin1String("CREATE VIRTUAL")))
            problem = QStringLiteral("it holds a virtual table named %1").arg(name);
        else if (type == QLatin1String("table"))
            tables << Upper(name);
    });
    if (!problem.isEmpty())
        return problem;
    for (const ExpectedTable& expected : ExpectedTables()) {
        const QString name = QString::fromLatin1(expected.name);
        if (!tables.contains(name))
            return QStringLiteral("it has no table %1").arg(name);
        QStringList columns;
        bool computed = false;
        db.Query(QStringLiteral("SELECT name, hidden FROM pragma_table_xinfo('%1');").arg(name), [&](const Row& row) {
            columns << Upper(row.At(0));
            computed = computed || row.At(1) != QLatin1String("0");
        });
        QStringList sorted = columns, wanted = expected.columns;
        sorted.sort();
        wanted.sort();
        if (computed || sorted != wanted)
            return QStringLiteral("its table %1 has the columns %2 instead of %3")
                .arg(name, columns.join(QLatin1Char(',')), expected.columns.join(QLatin1Char(',')));
    }
    return QString();
}

}  // namespace

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
    db.BoundStatements(kBaseSteps + kStepsPerFileByte * QFileInfo(db.WorkingFilePath()).size(), kMaxValueBytes);
    try {
        const QString problem = SchemaProblem(db);
        if (!problem.isEmpty()) {
            ReportMessage(QStringLiteral("%1 was not opened: it is not a project of this program (%2).")
                              .arg(QFileInfo(projectPath).fileName(), problem));
            db.Close();
            return false;
        }
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
