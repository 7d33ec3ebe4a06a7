#include "store/project_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRandomGenerator>
#include <QSet>
#include <QStringDecoder>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/scratch_files.h"
#include "platform/text.h"
#include "platform/user_message.h"

namespace lexicrawl {

namespace {

// Working-file names claimed by stores of this process, so that two stores in
// one folder never draw the same name before either has made its file.
QMutex g_claimedMutex;
QSet<QString> g_claimed;


QString ErrText(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

// Statement text and values travel as UTF-8, except that a lone surrogate
// (which UTF-8 cannot hold, and which SQLite's own UTF-16 conversion turns
// into U+FFFD) is written as the three bytes its code would take. SQLite
// stores text bytes as given, so every QString comes back unchanged.
QByteArray StoredBytes(QStringView text)
{
    if (text.isValidUtf16())
        return text.toUtf8();
    QByteArray out;
    out.reserve(text.size() * 3);
    const qsizetype n = text.size();
    qsizetype run = 0;  // start of the stretch not yet written
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;
            continue;
        }
        if (!QChar::isSurrogate(c))
            continue;
        out += text.mid(run, i - run).toUtf8();
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
        run = i + 1;
    }
    out += text.mid(run).toUtf8();
    return out;
}

// UTF-8 as text, a leading U+FEFF kept: it is part of the value.
QString FromUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

// The reverse of StoredBytes; any other byte that is not UTF-8 reads as
// U+FFFD.
QString TextOfStoredBytes(const char* data, int size)
{
    const QByteArrayView bytes(data, size);
    if (!bytes.contains('\xED'))
        return FromUtf8(bytes);
    QString out;
    qsizetype start = 0;
    for (qsizetype i = 0; i + 2 < size; ++i) {
        const auto b1 = static_cast<unsigned char>(data[i + 1]);
        const auto b2 = static_cast<unsigned char>(data[i + 2]);
        if (static_cast<unsigned char>(data[i]) != 0xED || b1 < 0xA0 || b1 > 0xBF || (b2 & 0xC0) != 0x80)
            continue;
        out += FromUtf8(bytes.sliced(start, i - start));
        out += QChar(char16_t(0xD000 | ((b1 & 0x3F) << 6) | (b2 & 0x3F)));
        i += 2;
        start = i + 1;
    }
    out += FromUtf8(bytes.sliced(start));
    return out;
}

// A result column's text as it was stored; null for NULL.
QString ColumnText(sqlite3_stmt* stmt, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text ? TextOfStoredBytes(text, sqlite3_column_bytes(stmt, column)) : QString();
}

// Runs a prepared statement with its bound values once, then makes it ready
// for the next values (reset, bindings cleared); throws DatabaseError when
// the step fails.
void StepOnce(sqlite3* db, sqlite3_stmt* stmt)
{
    const int rc = sqlite3_step(stmt);
    const QString error = rc == SQLITE_DONE || rc == SQLITE_ROW ? QString() : ErrText(db);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (!error.isNull())
        throw DatabaseError(error);
}

// Steps through a query's rows, calling onRow at each; throws DatabaseError
// when a step fails.
template <typename OnRow>
void EachRow(sqlite3* db, sqlite3_stmt* stmt, OnRow&& onRow)
{
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE)
            return;
        if (rc != SQLITE_ROW)
            throw DatabaseError(ErrText(db));
        onRow();
    }
}

}  // namespace

DatabaseError::DatabaseError(const QString& text)
    : std::runtime_error(text.toStdString()), text_(text)
{
}

const QStringList& SchemaStatements()
{
    static const QStringList statements = {
        QStringLiteral("CREATE TABLE \"LINKS\" (\"ID\"\tINTEGER PRIMARY KEY AUTOINCREMENT,\"URL\"\tTEXT,"
                       "\"LINK\"\tTEXT,\"FOLLOW\"\tTEXT,\"TYPE\"\tTEXT,\"ANCHOR\"\tTEXT);"),
        QStringLiteral("CREATE TABLE MISSPELLED (ID INTEGER PRIMARY KEY AUTOINCREMENT, WORD TEXT, URL TEXT);"),
        QStringLiteral("CREATE TABLE PAGES (ID INTEGER PRIMARY KEY AUTOINCREMENT, URL TEXT, TITLE TEXT, "
                       "DESCRIPTION TEXT, H1TAG TEXT);"),
        QStringLiteral("CREATE TABLE \"TAGS\" (\"ID\"\tINTEGER PRIMARY KEY AUTOINCREMENT,\"URL\"\tTEXT,"
                       "\"TAG\"\tTEXT,\"VALUE\"\tTEXT);"),
        QStringLiteral("CREATE INDEX \"LINKS_URL\" ON \"LINKS\" (\"URL\");"),
        QStringLiteral("CREATE INDEX MISSPELLED_URL ON MISSPELLED (URL);"),
        QStringLiteral("CREATE INDEX PAGES_DESCRIPTION ON PAGES (DESCRIPTION);"),
        QStringLiteral("CREATE INDEX PAGES_TITLE ON PAGES (TITLE);"),
        QStringLiteral("CREATE INDEX PAGES_URL ON PAGES (\"URL\");"),
    };
    return statements;
}

QString OpenFailureText(const QString& sqliteText)
{
    return QStringLiteral("Exception raised with message:\r\r") + sqliteText;
}

QString StatementFailureText(const QString& sqliteText)
{
    return QStringLiteral("Exception raised with message: ") + sqliteText;
}

QString Row::Value(const QString& column) const
{
    if (names_)
        for (qsizetype i = 0; i < names_->size(); ++i)
            if (names_->at(i).compare(column, Qt::CaseInsensitive) == 0)
                return values_.value(i);
    return QString();
}

ProjectDatabase::ProjectDatabase(QString dataFolder, QString programFolder)
    : dataFolder_(WithTrailingSlash(std::move(dataFolder))), programFolder_(WithTrailingSlash(std::move(programFolder)))
{
}

ProjectDatabase::~ProjectDatabase()
{
    Close();
    QMutexLocker lock(&g_claimedMutex);
    g_claimed.remove(workingFile_);
    UnregisterScratchFile(workingFile_);
}

void ProjectDatabase::ChooseWorkingFile()
{
    QMutexLocker lock(&g_claimedMutex);
    g_claimed.remove(workingFile_);
    UnregisterScratchFile(workingFile_);
    QString path;
    do {
        const quint32 n = QRandomGenerator::global()->bounded(999999u);
        path = dataFolder_ + QStringLiteral("project") + QString::number(n) + QStringLiteral(".db");
    } while (g_claimed.contains(path) || QFileInfo::exists(path));
    g_claimed.insert(path);
    workingFile_ = path;
    RegisterScratchFile(path);
}

QString ProjectDatabase::TemplatePath() const
{
    return programFolder_ + QStringLiteral("empty.db");
}

bool ProjectDatabase::IsOpen() const
{
    QMutexLocker lock(&mutex_);
    return db_ != nullptr;
}

bool ProjectDatabase::IsMemory() const
{
    QMutexLocker lock(&mutex_);
    return memory_;
}

QString ProjectDatabase::CaptionSuffix() const
{
    QMutexLocker lock(&mutex_);
    return caption_;
}

void ProjectDatabase::CloseConnection()
{
    for (const auto& entry : prepared_)
        sqlite3_finalize(entry.second);
    prepared_.clear();
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

bool ProjectDatabase::OpenTarget(const QString& target, bool memory)
{
    CloseConnection();
    memory_ = memory;
    caption_ = memory ? QStringLiteral(" (Database: memory)")
                      : QStringLiteral(" (Database: ") + QDir::toNativeSeparators(target) + QLatin1Char(')');
    sqlite3* db = nullptr;
    // A memory database lives in the memdb file system rather than as
    // ":memory:": the pager of ":memory:" walks every page of the database
    // at each commit, which makes a crawl of many pages quadratic. A name
    // without a leading slash keeps it private to this connection.
    const QByteArray name = memory ? QByteArray("file:lexicrawl-memory?vfs=memdb") : QFile::encodeName(target);
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
    const int rc = sqlite3_open_v2(name.constData(), &db, memory ? flags | SQLITE_OPEN_URI : flags & ~SQLITE_OPEN_CREATE,
                                   nullptr);
    if (rc != SQLITE_OK) {
        const QString text = ErrText(db);
        sqlite3_close_v2(db);
        ReportMessage(OpenFailureText(text));
        return false;
    }
    db_ = db;
    maxSteps_ = 0;
    // Whatever a file's schema holds runs only as this program's statements
    // ask: no schema-defined function or virtual table acts on its own, and
    // no statement can change the schema behind SQLite's back.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    // The working file is scratch: no statement waits for a disk sync. The
    // rollback journal is a file kept between transactions, so a program
    // killed in the middle of a commit leaves a file that opens whole (the
    // next open rolls the commit back); an in-memory journal would leave it
    // corrupt. Without WAL every committed statement is in the main file, so
    // a copy taken between statements is consistent; cache_spill off keeps
    // an open transaction's pages out of the file.
    sqlite3_exec(db_,
                 memory ? "PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY; PRAGMA cache_spill=OFF;"
                        : "PRAGMA synchronous=OFF; PRAGMA journal_mode=PERSIST; PRAGMA cache_spill=OFF;",
                 nullptr, nullptr, nullptr);
    // The memdb file system refuses to grow a database past 1 GiB by
    // default ("database or disk is full" at about 190,000 pages of a
    // typical site); a memory project may take what the machine has.
    if (memory) {
        sqlite3_int64 limit = sqlite3_int64(1) << 40;
        sqlite3_file_control(db_, "main", SQLITE_FCNTL_SIZE_LIMIT, &limit);
    }
    return true;
}

bool ProjectDatabase::PrepareForCrawl(DatabaseLocation location)
{
    QMutexLocker lock(&mutex_);
    CloseConnection();
    RemoveWorkingFile();
    if (location == DatabaseLocation::File) {
        if (!workingFile_.isEmpty())
            QFile::copy(TemplatePath(), workingFile_);  // a failure shows in the open below
        if (!OpenTarget(workingFile_, false))
            return false;
    } else {
        if (!OpenTarget(QString(), true))
            return false;
        CreateEmptyTables();
    }
    return true;
}

void ProjectDatabase::CreateEmptyTables()
{
    for (const QString& statement : SchemaStatements()) {
        try {
            Execute(statement);
        } catch (const DatabaseError& e) {
            ReportMessage(StatementFailureText(e.Text()));
            return;
        }
    }
}

bool ProjectDatabase::OpenWorkingFile()
{
    QMutexLocker lock(&mutex_);
    return OpenTarget(workingFile_, false);
}

void ProjectDatabase::Close()
{
    QMutexLocker lock(&mutex_);
    CloseConnection();
    RemoveWorkingFile();
}

void ProjectDatabase::RemoveWorkingFile()
{
    if (workingFile_.isEmpty())
        return;
    QFile::remove(workingFile_);
    QFile::remove(workingFile_ + QStringLiteral("-journal"));
}

namespace {

constexpr int kStepsPerProgressCall = 10'000;

}  // namespace

void ProjectDatabase::BoundStatements(qint64 maxSteps, int maxValueBytes)
{
    QMutexLocker lock(&mutex_);
    if (!db_)
        return;
    maxSteps_ = std::max<qint64>(1, maxSteps / kStepsPerProgressCall);
    sqlite3_progress_handler(db_, kStepsPerProgressCall, &ProjectDatabase::OnProgress, this);
    sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, maxValueBytes);
}

// Called under the store lock, from within the running statement.
int ProjectDatabase::OnProgress(void* self)
{
    auto* database = static_cast<ProjectDatabase*>(self);
    return database->maxSteps_ > 0 && ++database->stepsTaken_ > database->maxSteps_ ? 1 : 0;
}

void ProjectDatabase::Execute(const QString& sql)
{
    QMutexLocker lock(&mutex_);
    if (!db_)
        throw DatabaseError(QStringLiteral("Database is not open"));
    stepsTaken_ = 0;
    char* err = nullptr;
    const int rc = sqlite3_exec(db_, StoredBytes(sql).constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString text = err ? QString::fromUtf8(err) : ErrText(db_);
        sqlite3_free(err);
        throw DatabaseError(text);
    }
}

sqlite3_stmt* ProjectDatabase::Prepared(const char* sql)
{
    for (const auto& entry : prepared_) {
        if (entry.first == sql)
            return entry.second;
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
        throw DatabaseError(ErrText(db_));
    prepared_.emplace_back(sql, stmt);
    return stmt;
}

void ProjectDatabase::Execute(const BoundStatement& statement)
{
    QMutexLocker lock(&mutex_);
    if (!db_)
        throw DatabaseError(QStringLiteral("Database is not open"));
    sqlite3_stmt* stmt = Prepared(statement.sql);
    stepsTaken_ = 0;
    int index = 1;
    for (const QString& value : statement.values) {
        // The bytes a literal of the value would store (NUL included).
        const QByteArray bytes = StoredBytes(value);
        sqlite3_bind_text(stmt, index++, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    }
    StepOnce(db_, stmt);
}

void ProjectDatabase::Finalizer::operator()(sqlite3_stmt* statement) const
{
    sqlite3_finalize(statement);
}

std::unique_ptr<sqlite3_stmt, ProjectDatabase::Finalizer> ProjectDatabase::PrepareQuery(const QString& sql)
{
    if (!db_)
        throw DatabaseError(QStringLiteral("Database is not open"));
    stepsTaken_ = 0;
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = StoredBytes(sql);
    if (sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK)
        throw DatabaseError(ErrText(db_));
    return std::unique_ptr<sqlite3_stmt, Finalizer>(stmt);
}

void ProjectDatabase::Query(const QString& sql, const std::function<void(const Row&)>& onRow)
{
    QMutexLocker lock(&mutex_);
    const auto statement = PrepareQuery(sql);
    sqlite3_stmt* stmt = statement.get();
    if (!stmt)
        return;  // empty statement text
    QStringList names;
    const int columns = sqlite3_column_count(stmt);
    for (int c = 0; c < columns; ++c)
        names << QString::fromUtf8(sqlite3_column_name(stmt, c));
    EachRow(db_, stmt, [&] {
        QStringList values;
        values.reserve(columns);
        for (int c = 0; c < columns; ++c)
            values << ColumnText(stmt, c);
        onRow(Row(&names, std::move(values)));
    });
}

void ProjectDatabase::QueryTextCounts(const QString& sql,
                                      const std::function<void(QString text, qint64 count)>& onRow)
{
    QMutexLocker lock(&mutex_);
    const auto statement = PrepareQuery(sql);
    sqlite3_stmt* stmt = statement.get();
    if (!stmt)
        return;
    EachRow(db_, stmt, [&] { onRow(ColumnText(stmt, 0), sqlite3_column_int64(stmt, 1)); });
}

std::vector<QStringList> ProjectDatabase::QueryAll(const QString& sql)
{
    std::vector<QStringList> rows;
    Query(sql, [&](const Row& row) { rows.push_back(row.Values()); });
    return rows;
}

bool ProjectDatabase::SaveCopyTo(const QString& destination, QString* error)
{
    QMutexLocker lock(&mutex_);
    if (workingFile_.isEmpty() || !QFileInfo::exists(workingFile_)) {
        if (error)
            *error = QStringLiteral("No database file was found!");
        return false;
    }
    const QString temp = destination + QStringLiteral(".part");
    QFile::remove(temp);
    QFile source(workingFile_);
    if (!source.copy(temp)) {
        if (error)
            *error = source.errorString();
        QFile::remove(temp);
        return false;
    }
    // rename() replaces an existing destination atomically.
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(destination).constData()) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(strerror(errno));
        QFile::remove(temp);
        return false;
    }
    return true;
}

BulkInsert::BulkInsert(ProjectDatabase& database, const char* sql)
    : database_(database), lock_(&database.mutex_)
{
    if (!database_.db_)
        throw DatabaseError(QStringLiteral("Database is not open"));
    stmt_ = database_.Prepared(sql);
}

void BulkInsert::Row(QStringView text, qint64 value)
{
    database_.stepsTaken_ = 0;
    const QByteArray bytes = StoredBytes(text);
    sqlite3_bind_text(stmt_, 1, bytes.constData(), int(bytes.size()), SQLITE_STATIC);
    sqlite3_bind_int64(stmt_, 2, value);
    StepOnce(database_.db_, stmt_);  // the text's bytes are no longer bound after it
}

// A savepoint: outside a transaction it begins one, inside one it nests, so
// a transaction may be opened within another (a page's statements within
// its recording).
Transaction::Transaction(ProjectDatabase& db) : db_(db)
{
    db_.Lock().lock();
    try {
        db_.Execute(QStringLiteral("SAVEPOINT lexicrawl_transaction;"));
    } catch (...) {
        db_.Lock().unlock();
        throw;
    }
}

Transaction::~Transaction()
{
    if (!done_) {
        try {
            db_.Execute(QStringLiteral("ROLLBACK TO lexicrawl_transaction; RELEASE lexicrawl_transaction;"));
        } catch (const DatabaseError&) {
        }
    }
    db_.Lock().unlock();
}

void Transaction::Commit()
{
    db_.Execute(QStringLiteral("RELEASE lexicrawl_transaction;"));
    done_ = true;
}

QString SqliteVersion()
{
    return QString::fromLatin1(sqlite3_libversion());
}

}  // namespace lexicrawl
