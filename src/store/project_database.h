#pragma once
// The project database: one SQLite connection per instance, to a working file
// made from the template "empty.db" or to an in-memory database, with the
// schema, the working-file naming and the failure reports of the store.
//
// Thread-safety: every member may be called from any thread. Each Execute,
// and each Query together with the reading of its rows, runs under one
// recursive lock; a Transaction holds that lock until it ends, so a project
// copy (SaveCopyTo) never sees half a transaction.
#include <QMutexLocker>
#include <QRecursiveMutex>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include "store/sql_quote.h"

struct sqlite3;
struct sqlite3_stmt;

namespace lexicrawl {

// A failing statement or open; what() and Text() carry SQLite's message.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& text);
    QString Text() const { return text_; }

private:
    QString text_;
};

enum class DatabaseLocation { File, Memory };

// The nine statements that build the schema, in the order they are issued.
const QStringList& SchemaStatements();

// One row of a query: columns read by name as text, NULL as empty text.
class Row {
public:
    Row(const QStringList* names, QStringList values) : names_(names), values_(std::move(values)) {}
    QString Value(const QString& column) const;
    QString At(int index) const { return values_.value(index); }
    const QStringList& Values() const { return values_; }

private:
    const QStringList* names_;
    QStringList values_;
};

class ProjectDatabase {
public:
    ProjectDatabase(QString dataFolder, QString programFolder);
    ~ProjectDatabase();
    ProjectDatabase(const ProjectDatabase&) = delete;
    ProjectDatabase& operator=(const ProjectDatabase&) = delete;

    // Draws N until dataFolder + "project" + N + ".db" is free, and remembers
    // the path. Creates no file.
    void ChooseWorkingFile();
    QString WorkingFilePath() const { return workingFile_; }
    QString TemplatePath() const;

    // Makes a fresh database for a crawl: closes, deletes the working file,
    // copies the template (File) or opens memory and builds the schema
    // (Memory). Reports a failed open as a user message and answers false.
    bool PrepareForCrawl(DatabaseLocation location);
    // Runs the schema statements in order; the first failure is reported and
    // ends it.
    void CreateEmptyTables();
    // Sets the target to the working file and opens it (no creation);
    // reports a failed open and answers false.
    bool OpenWorkingFile();
    // Closes the connection and deletes the working file; failures ignored.
    void Close();

    bool IsOpen() const;
    bool IsMemory() const;
    // " (Database: <working file>)" or " (Database: memory)"; empty before any target.
    QString CaptionSuffix() const;

    // Runs one statement that returns no rows; throws DatabaseError.
    void Execute(const QString& sql);
    // The same for a statement with its values apart (sql_quote.h); it is
    // prepared once per connection.
    void Execute(const BoundStatement& statement);
    // Runs one statement and hands each row to onRow in order; throws DatabaseError.
    void Query(const QString& sql, const std::function<void(const Row&)>& onRow);
    // The same for a query of two columns, a text and an integer, read as
    // they are stored: no row of texts, no lookup of a column by name.
    void QueryTextCounts(const QString& sql, const std::function<void(QString text, qint64 count)>& onRow);
    // The same, collecting the rows.
    std::vector<QStringList> QueryAll(const QString& sql);

    // Copies the working file to destination (replacing it) under the lock,
    // through a temporary file beside the destination so that a failed copy
    // leaves an existing file as it was. Answers false with a reason when
    // there is no working file or the copy fails.
    bool SaveCopyTo(const QString& destination, QString* error = nullptr);

    // For a file from elsewhere: each later statement on this connection may
    // take about maxSteps steps of SQLite's virtual machine before it fails
    // ("interrupted"), and reading a value longer than maxValueBytes fails
    // ("string or blob too big"). The next open lifts both bounds.
    void BoundStatements(qint64 maxSteps, int maxValueBytes);

    // Holds the store lock across several statements (used by transactions).
    QRecursiveMutex& Lock() { return mutex_; }

private:
    friend class BulkInsert;
    bool OpenTarget(const QString& target, bool memory);
    void CloseConnection();
    sqlite3_stmt* Prepared(const char* sql);
    // A query's statement, finalized when let go (null for an empty text);
    // throws DatabaseError. Under the store lock.
    struct Finalizer {
        void operator()(sqlite3_stmt* statement) const;
    };
    std::unique_ptr<sqlite3_stmt, Finalizer> PrepareQuery(const QString& sql);
    static int OnProgress(void* self);
    // Deletes the working file and its rollback journal; missing ones are no error.
    void RemoveWorkingFile();

    const QString dataFolder_;
    const QString programFolder_;
    QString workingFile_;
    QString caption_;
    bool memory_ = false;
    sqlite3* db_ = nullptr;
    std::vector<std::pair<const char*, sqlite3_stmt*>> prepared_;  // of db_, by sql
    qint64 maxSteps_ = 0;       // 0: statements are not bounded
    qint64 stepsTaken_ = 0;     // by the running statement, in progress calls
    mutable QRecursiveMutex mutex_;
};

// A transaction on the store: begun at construction, rolled back in the
// destructor unless Commit() ran; one may be opened within another (it is a
// savepoint). Holds the store lock throughout.
class Transaction {
public:
    explicit Transaction(ProjectDatabase& db);
    ~Transaction();
    void Commit();

private:
    ProjectDatabase& db_;
    bool done_ = false;
};

// One insert of the hot paths run for many rows (a crawl's word counts):
// prepared once per connection, each row's text and integer bound as they
// are, the text stored as a BoundStatement would store it. Holds the store
// lock while it lives, so it belongs inside a Transaction.
//
// Thread-safety: used on one thread, the one that made it.
class BulkInsert {
public:
    // sql holds two ?s, the text's and the integer's, and lives as long as
    // the program. Throws DatabaseError when no database is open.
    BulkInsert(ProjectDatabase& database, const char* sql);
    BulkInsert(const BulkInsert&) = delete;
    BulkInsert& operator=(const BulkInsert&) = delete;
    // Runs the insert for one row; throws DatabaseError.
    void Row(QStringView text, qint64 value);

private:
    ProjectDatabase& database_;
    QMutexLocker<QRecursiveMutex> lock_;
    sqlite3_stmt* stmt_ = nullptr;
};

// The user-message texts of the store.
QString OpenFailureText(const QString& sqliteText);       // "...message:" CR CR text
QString StatementFailureText(const QString& sqliteText);  // "...message: " text

// The SQLite library in use ("3.40.1").
QString SqliteVersion();

}  // namespace lexicrawl
