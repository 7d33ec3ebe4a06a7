#pragma once
// Saved projects: a project file is a copy of an instance's working file.
// Opening one copies it onto the working file and works on the copy, so the
// saved file itself is never changed.
#include <QString>
#include <QStringList>

namespace lexicrawl {

class ProjectDatabase;

// Copies projectPath onto the working file, opens it and reads the page
// addresses ("SELECT URL FROM PAGES;") in the order SQLite returns them.
// A failed open or query is reported as a user message; answers false then
// (urls stays empty).
bool OpenProjectFile(ProjectDatabase& db, const QString& projectPath, QStringList* urls);
// The page the project's crawl recorded first: its start URL (after the
// first redirect the crawl took over). Empty for a project without pages.
// Throws DatabaseError.
QString ProjectStartUrl(ProjectDatabase& db);

// Save Project As: copies the working file, as it stands between two
// statements, to destination. Answers false with the reason in *error
// ("No database file was found!" when there is no working file).
bool SaveProjectAs(ProjectDatabase& db, const QString& destination, QString* error);

}  // namespace lexicrawl
