#include "sqlite_db.h"

#include <sqlite3.h>

namespace stock {

Database::Database(const std::string& path, bool create) {
    int flags = SQLITE_OPEN_READWRITE;
    if (create)
        flags |= SQLITE_OPEN_CREATE;
    const int code = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (code != SQLITE_OK) {
        // A handle comes back even when the open fails: the reason is read
        // from it before it is closed.
        const int systemError = db_ ? sqlite3_system_errno(db_) : 0;
        const std::string what = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
        sqlite3_close(db_);
        db_ = nullptr;
        throw SqlError(code & 0xff, systemError, what);
    }
}

Database::~Database() {
    sqlite3_close(db_);
}

void Database::Fail(int code) const {
    throw SqlError(code & 0xff, sqlite3_system_errno(db_), sqlite3_errmsg(db_));
}

void Database::SetBusyTimeout(int milliseconds) {
    sqlite3_busy_timeout(db_, milliseconds);
}

void Database::Exec(const char* sql) {
    const int code = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        Fail(code);
}

long long Database::Integer(const char* sql) {
    Statement query(*this, sql);
    return query.Step() ? query.Integer(0) : 0;
}

std::string Database::Text(const char* sql) {
    Statement query(*this, sql);
    return query.Step() ? query.Text(0) : std::string();
}

bool Database::ReadOnly() const {
    return sqlite3_db_readonly(db_, "main") == 1;
}

long long Database::LastRowId() const {
    return sqlite3_last_insert_rowid(db_);
}

Statement::Statement(Database& db, const char* sql) : db_(db) {
    const int code = sqlite3_prepare_v2(db.handle(), sql, -1, &statement_, nullptr);
    if (code != SQLITE_OK)
        db_.Fail(code);
}

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

Statement& Statement::Bind(int index, long long value) {
    const int code = sqlite3_bind_int64(statement_, index, value);
    if (code != SQLITE_OK)
        db_.Fail(code);
    return *this;
}

Statement& Statement::Bind(int index, const std::string& value) {
    const int code = sqlite3_bind_text(statement_, index, value.data(),
                                       static_cast<int>(value.size()), SQLITE_TRANSIENT);
    if (code != SQLITE_OK)
        db_.Fail(code);
    return *this;
}

bool Statement::Step() {
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    sqlite3_reset(statement_);
    db_.Fail(code);
}

void Statement::Run() {
    while (Step()) {
    }
    Reset();
}

void Statement::Reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

long long Statement::Integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

int Statement::Int(int column) const {
    return sqlite3_column_int(statement_, column);
}

std::string Statement::Text(int column) const {
    const unsigned char* text = sqlite3_column_text(statement_, column);
    if (!text)
        return {};
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

bool Statement::IsNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

Transaction::Transaction(Database& db, Kind kind) : db_(db) {
    db_.Exec(kind == Write ? "BEGIN IMMEDIATE" : "BEGIN");
}

Transaction::~Transaction() {
    // A failed statement may have ended the transaction already; then there
    // is nothing to roll back and the error is of no interest.
    if (open_ && !sqlite3_get_autocommit(db_.handle()))
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
    db_.Exec("COMMIT");
    open_ = false;
}

} // namespace stock
