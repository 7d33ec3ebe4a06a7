#pragma once
// One instance's project store for tests: a program folder holding the
// built template "empty.db", a separate data folder, and the database with
// its working file chosen.
#include <QFile>
#include <QTemporaryDir>

#include "store/project_database.h"

namespace lexicrawl::testing {

struct ProjectInstance {
    QTemporaryDir program, data;
    ProjectDatabase db{data.path(), program.path()};
    ProjectInstance()
    {
        QFile::copy(QStringLiteral(LEXICRAWL_BIN_DIR "/empty.db"), program.filePath(QStringLiteral("empty.db")));
        db.ChooseWorkingFile();
    }
};

}  // namespace lexicrawl::testing
