// Build-time tool: writes the template project database "empty.db" by running
// the schema statements against a new file.
#include <QFile>

#include <cstdio>

#include <sqlite3.h>

#include "store/project_database.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_empty_db OUTPUT\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString temp = out + QStringLiteral(".tmp");
    QFile::remove(temp);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(temp).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "make_empty_db: %s\n", sqlite3_errmsg(db));
        return 1;
    }
    for (const QString& statement : lexicrawl::SchemaStatements()) {
        char* err = nullptr;
        if (sqlite3_exec(db, statement.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
            std::fprintf(stderr, "make_empty_db: %s\n", err ? err : "failed");
            sqlite3_close(db);
            return 1;
        }
    }
    sqlite3_close(db);
    QFile::remove(out);
    if (!QFile::rename(temp, out)) {
        std::fprintf(stderr, "make_empty_db: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
