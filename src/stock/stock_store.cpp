#include "stock_store.h"

#include "sqlite_db.h"
#include "stock_tables.h"

#include "platform/system_reason.h"

#include <sqlite3.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <new>
#include <system_error>

#include <unistd.h>

namespace stock {
namespace {

namespace fs = std::filesystem;

constexpr int BusyMilliseconds = 5000;
const char* const NotOpen = "Склад не открыт.";

std::string Reason(const SqlError& e) {
    switch (e.code()) {
    case SQLITE_NOTADB:
        return "файл не является базой данных склада";
    case SQLITE_CORRUPT:
        return "файл повреждён";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "файл занят другой программой дольше 5 секунд";
    case SQLITE_FULL:
        return "на диске нет места";
    case SQLITE_NOMEM:
        return "не хватает памяти";
    case SQLITE_READONLY:
        return "нет права записи";
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
    case SQLITE_PERM:
        return e.systemError() ? platform::SystemReason(e.systemError()) : "ошибка ввода-вывода";
    default:
        return "ошибка SQLite " + std::to_string(e.code()) + " (" + e.what() + ")";
    }
}

std::string Quoted(const std::string& path) {
    return "«" + path + "»";
}

// Runs `work`, which answers R; a failure of the file or of memory becomes
// the answer's message, and the transaction `work` held is rolled back.
template <typename R, typename F> R Guarded(const std::string& path, bool writing, F&& work) {
    std::string reason;
    try {
        return work();
    } catch (const SqlError& e) {
        reason = Reason(e);
    } catch (const std::bad_alloc&) {
        reason = "не хватает памяти";
    }
    R refused;
    refused.error = writing ? "Не удалось записать склад " + Quoted(path) + ": " + reason +
                                  ". Склад не изменён."
                            : "Не удалось прочитать склад " + Quoted(path) + ": " + reason + ".";
    return refused;
}

template <typename R> R Refused(std::string error) {
    R refused;
    refused.error = std::move(error);
    return refused;
}

// Whether a file is at `path`, or why the store cannot be there; the
// folders above it are made for a new file. The folder must take the
// store's journal files (WAL) beside it, even when the file is there.
std::string CheckPlace(const std::string& path, bool& exists) {
    if (path.empty())
        return "не указан файл";
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    exists = fs::exists(status);
    if (exists && !fs::is_regular_file(status))
        return fs::is_directory(status) ? "под этим именем находится папка" : "это не обычный файл";
    if (error && error != std::errc::no_such_file_or_directory)
        return platform::SystemReason(error.value());
    error.clear();
    fs::path folder = fs::path(path).parent_path();
    if (folder.empty())
        folder = ".";
    if (!exists && !fs::is_directory(folder, error))
        fs::create_directories(folder, error);
    if (error)
        return platform::SystemReason(error.value());
    // Asked first: SQLite, refused a new file, tries it read-only and
    // reports that attempt's ENOENT.
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return errno == EACCES ? "нет права записи в папку " + Quoted(folder.string())
                               : platform::SystemReason(errno);
    return "";
}

Result<BarStock> StockOf(const Held& held) {
    Result<BarStock> result;
    result.ok = true;
    result.value = {ListOf(held.stock), ListOf(held.offcuts)};
    return result;
}

Status Done() {
    return {true, ""};
}

JournalEntry EntryNow(int barSize, const std::string& order, EntryKind kind) {
    JournalEntry entry;
    entry.time = static_cast<long long>(std::time(nullptr));
    entry.barSize = barSize;
    entry.order = order;
    entry.kind = kind;
    return entry;
}

} // namespace

StockStore::StockStore() = default;
StockStore::~StockStore() = default;
StockStore::StockStore(StockStore&&) noexcept = default;
StockStore& StockStore::operator=(StockStore&&) noexcept = default;

StockStore::StockStore(std::unique_ptr<Database> db, std::string path)
    : db_(std::move(db)), path_(std::move(path)) {}

Result<StockStore> StockStore::Open(const std::string& path) {
    const std::string head = "Не удалось открыть склад " + Quoted(path) + ": ";
    bool exists = false;
    try {
        std::string problem = CheckPlace(path, exists);
        if (!problem.empty())
            return Refused<Result<StockStore>>(head + problem + ".");
        auto db = std::make_unique<Database>(path, !exists);
        db->SetBusyTimeout(BusyMilliseconds);
        problem = db->ReadOnly() ? "нет права записи в файл" : PrepareStore(*db);
        if (!problem.empty())
            return Refused<Result<StockStore>>(head + problem + ". Файл не изменён.");
        Result<StockStore> result;
        result.ok = true;
        result.value = StockStore(std::move(db), path);
        return result;
    } catch (const SqlError& e) {
        return Refused<Result<StockStore>>(head + Reason(e) + "." +
                                           (exists ? " Файл не изменён." : ""));
    } catch (const std::bad_alloc&) {
        return Refused<Result<StockStore>>(head + "не хватает памяти.");
    }
}

Result<BarStock> StockStore::Stock(int barSize) const {
    if (!db_)
        return Refused<Result<BarStock>>(NotOpen);
    if (std::string problem = CheckBarSize(barSize); !problem.empty())
        return Refused<Result<BarStock>>(problem);
    return Guarded<Result<BarStock>>(path_, false, [&] {
        Transaction transaction(*db_, Transaction::Read);
        const Held held = LoadHeld(*db_, barSize);
        transaction.Commit();
        return StockOf(held);
    });
}

Result<std::vector<int>> StockStore::BarSizes() const {
    if (!db_)
        return Refused<Result<std::vector<int>>>(NotOpen);
    return Guarded<Result<std::vector<int>>>(path_, false, [&] {
        Result<std::vector<int>> result;
        result.value = LoadBarSizes(*db_);
        result.ok = true;
        return result;
    });
}

Result<std::vector<JournalEntry>> StockStore::Journal() const {
    if (!db_)
        return Refused<Result<std::vector<JournalEntry>>>(NotOpen);
    return Guarded<Result<std::vector<JournalEntry>>>(path_, false, [&] {
        Transaction transaction(*db_, Transaction::Read);
        Result<std::vector<JournalEntry>> result;
        result.value = LoadJournal(*db_);
        transaction.Commit();
        result.ok = true;
        return result;
    });
}

Status StockStore::ReplaceStock(int barSize, const std::vector<Bars>& stock) {
    return Replace(barSize, stock, true);
}

Status StockStore::ReplaceOffcuts(int barSize, const std::vector<Bars>& offcuts) {
    return Replace(barSize, offcuts, false);
}

Status StockStore::Replace(int barSize, const std::vector<Bars>& rows, bool stockLengths) {
    if (!db_)
        return Refused<Status>(NotOpen);
    Rows now;
    std::string problem = CheckBarSize(barSize);
    if (problem.empty())
        problem = ReadRows(rows, stockLengths ? RowKind::StockLengths : RowKind::Pieces,
                           stockLengths ? "Плети" : "Обрезки", now);
    if (!problem.empty())
        return Refused<Status>(problem);
    return Guarded<Status>(path_, true, [&] {
        Transaction transaction(*db_, Transaction::Write);
        Held held = LoadHeld(*db_, barSize);
        Rows& table = stockLengths ? held.stock : held.offcuts;
        JournalEntry entry = EntryNow(barSize, "", EntryKind::Correction);
        Difference(table, now, stockLengths ? entry.taken.stock : entry.taken.offcuts,
                   stockLengths ? entry.added.stock : entry.added.offcuts);
        if (table == now)
            return Done();
        table = now;
        SaveHeld(*db_, barSize, held);
        AppendEntry(*db_, entry);
        transaction.Commit();
        return Done();
    });
}

Status StockStore::WriteOffPlan(const WriteOff& writeOff) {
    if (!db_)
        return Refused<Status>(NotOpen);
    Cuts cuts;
    if (std::string problem = ReadWriteOff(writeOff, cuts); !problem.empty())
        return Refused<Status>(problem);
    return Guarded<Status>(path_, true, [&] {
        Transaction transaction(*db_, Transaction::Write);
        Held held = LoadHeld(*db_, writeOff.barSize);
        if (held.stock != cuts.planned.stock || held.offcuts != cuts.planned.offcuts)
            return Refused<Status>(StockChanged);
        JournalEntry entry = EntryNow(writeOff.barSize, writeOff.order, EntryKind::WriteOff);
        if (std::string problem = ApplyWriteOff(held, cuts, entry.taken, entry.added);
            !problem.empty())
            return Refused<Status>(problem);
        SaveHeld(*db_, writeOff.barSize, held);
        AppendEntry(*db_, entry);
        transaction.Commit();
        return Done();
    });
}

Status StockStore::UndoLastWriteOff(const std::string& order) {
    if (!db_)
        return Refused<Status>(NotOpen);
    if (std::string problem = CheckOrder(order); !problem.empty())
        return Refused<Status>(problem);
    return Guarded<Status>(path_, true, [&] {
        Transaction transaction(*db_, Transaction::Write);
        const JournalEntry writeOff = LatestWriteOff(*db_, order);
        if (writeOff.id == 0)
            return Refused<Status>("По заказу «" + order +
                                   "» нет списания, которое можно отменить.");
        Held held = LoadHeld(*db_, writeOff.barSize);
        JournalEntry entry = EntryNow(writeOff.barSize, order, EntryKind::Undo);
        if (std::string problem = ApplyUndo(held, writeOff, entry.taken, entry.added);
            !problem.empty())
            return Refused<Status>(problem);
        SaveHeld(*db_, writeOff.barSize, held);
        AppendEntry(*db_, entry, writeOff.id);
        transaction.Commit();
        return Done();
    });
}

} // namespace stock
