#pragma once

// A thin hold on the SQLite C library: a connection, a prepared statement and
// a transaction, each released by its destructor. A call that fails raises
// SqlError with SQLite's result code and the errno beneath it, so that the
// store above can say in Russian what went wrong.

#include <stdexcept>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace stock {

class SqlError : public std::runtime_error {
public:
    SqlError(int code, int systemError, const std::string& what)
        : std::runtime_error(what), code_(code), systemError_(systemError) {}
    int code() const noexcept { return code_; }               // primary result code
    int systemError() const noexcept { return systemError_; } // errno, or 0

private:
    int code_;
    int systemError_;
};

class Database {
public:
    // Opens the file read-write; `create` makes it when it is missing.
    Database(const std::string& path, bool create);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Waits up to `milliseconds` for another connection's lock.
    void SetBusyTimeout(int milliseconds);
    void Exec(const char* sql);
    // The first column of the first row of a query that yields one value.
    long long Integer(const char* sql);
    std::string Text(const char* sql);
    bool ReadOnly() const;
    long long LastRowId() const;
    sqlite3* handle() const noexcept { return db_; }
    [[noreturn]] void Fail(int code) const;

private:
    sqlite3* db_ = nullptr;
};

class Statement {
public:
    Statement(Database& db, const char* sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters count from 1, as in SQL.
    Statement& Bind(int index, long long value);
    Statement& Bind(int index, const std::string& value);
    // True while there is a row to read.
    bool Step();
    // Steps to the end, for a statement that returns no rows.
    void Run();
    // Ready to bind and step again.
    void Reset();
    long long Integer(int column) const;
    int Int(int column) const;
    std::string Text(int column) const;
    bool IsNull(int column) const;

private:
    Database& db_;
    sqlite3_stmt* statement_ = nullptr;
};

// BEGIN IMMEDIATE for a change, which takes the write lock at once (waiting
// for another program's change to end), or BEGIN for reading one snapshot.
// Rolled back unless committed.
class Transaction {
public:
    enum Kind { Read, Write };
    Transaction(Database& db, Kind kind);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit();

private:
    Database& db_;
    bool open_ = true;
};

} // namespace stock
