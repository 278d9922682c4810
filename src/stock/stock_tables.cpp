#include "stock_tables.h"

#include <iterator>

namespace stock {
namespace {

// "RSHT": the file is a store of this program.
constexpr long long ApplicationId = 0x52534854;

// Step k brings the layout from version k to k + 1.
const char* const Steps[] = {
    // Rows of count 0 are not kept; a stock length bought as needed counts -1.
    // A journal item is one length taken from (added 0) or added to
    // (added 1) the stock lengths (place 0) or the offcuts (place 1).
    R"sql(
    CREATE TABLE stock_length (
        bar_size INTEGER NOT NULL CHECK (bar_size > 0),
        length INTEGER NOT NULL CHECK (length BETWEEN 1 AND 1000000),
        count INTEGER NOT NULL CHECK (count = -1 OR count BETWEEN 1 AND 1000000),
        PRIMARY KEY (bar_size, length)) WITHOUT ROWID;
    CREATE TABLE offcut (
        bar_size INTEGER NOT NULL CHECK (bar_size > 0),
        length INTEGER NOT NULL CHECK (length BETWEEN 1 AND 1000000),
        count INTEGER NOT NULL CHECK (count BETWEEN 1 AND 1000000),
        PRIMARY KEY (bar_size, length)) WITHOUT ROWID;
    CREATE TABLE journal (
        id INTEGER PRIMARY KEY,
        time INTEGER NOT NULL,
        bar_size INTEGER NOT NULL,
        order_number TEXT NOT NULL,
        kind TEXT NOT NULL CHECK (kind IN ('списание', 'правка', 'отмена')),
        undoes INTEGER UNIQUE REFERENCES journal (id));
    CREATE INDEX journal_order ON journal (order_number, kind);
    CREATE TABLE journal_item (
        entry INTEGER NOT NULL REFERENCES journal (id),
        added INTEGER NOT NULL CHECK (added IN (0, 1)),
        place INTEGER NOT NULL CHECK (place IN (0, 1)),
        length INTEGER NOT NULL,
        count INTEGER NOT NULL);
    CREATE INDEX journal_item_entry ON journal_item (entry);
    PRAGMA application_id = 1381189716;
    )sql",
};
static_assert(std::size(Steps) == SchemaVersion);
static_assert(ApplicationId == 1381189716);

void Migrate(Database& db) {
    Transaction transaction(db, Transaction::Write);
    // Another program may have brought it up to date while this one waited.
    const long long version = db.Integer("PRAGMA user_version");
    if (version >= SchemaVersion)
        return;
    for (long long k = version; k < SchemaVersion; ++k)
        db.Exec(Steps[k]);
    db.Exec(("PRAGMA user_version = " + std::to_string(SchemaVersion)).c_str());
    transaction.Commit();
}

EntryKind KindOf(const std::string& text) {
    for (EntryKind kind : {EntryKind::WriteOff, EntryKind::Undo})
        if (text == KindText(kind))
            return kind;
    return EntryKind::Correction;
}

void AppendItems(Statement& insert, long long entry, bool added, const Change& change) {
    for (const auto& [place, items] : {std::pair{0, &change.stock}, {1, &change.offcuts}}) {
        for (const Bars& item : *items) {
            insert.Bind(1, entry).Bind(2, added ? 1 : 0).Bind(3, place);
            insert.Bind(4, item.length).Bind(5, item.count).Run();
        }
    }
}

void LoadItems(Statement& items, JournalEntry& entry) {
    items.Bind(1, entry.id);
    while (items.Step()) {
        Change& change = items.Int(0) ? entry.added : entry.taken;
        (items.Int(1) ? change.offcuts : change.stock).push_back({items.Int(2), items.Int(3)});
    }
    items.Reset();
}

} // namespace

std::string PrepareStore(Database& db) {
    // Only reads until the file is known to be this program's: a file that is
    // not is left byte for byte as it was.
    const long long application = db.Integer("PRAGMA application_id");
    const long long version = db.Integer("PRAGMA user_version");
    const long long objects = db.Integer("SELECT count(*) FROM sqlite_schema");
    const std::string check = db.Text("PRAGMA quick_check");
    if (check != "ok")
        return "файл повреждён (" + check + ")";
    const bool blank = application == 0 && version == 0 && objects == 0;
    if (application != ApplicationId && !blank)
        return "это база данных другой программы";
    if (version > SchemaVersion)
        return "файл записан более новой версией программы (версия склада " +
               std::to_string(version) + ", эта программа знает версии до " +
               std::to_string(SchemaVersion) + ")";
    db.Exec("PRAGMA foreign_keys = ON");
    if (db.Text("PRAGMA journal_mode = WAL") != "wal")
        return "файл не удалось перевести в режим журнала WAL";
    Migrate(db);
    return "";
}

Held LoadHeld(Database& db, int barSize) {
    Held held;
    for (const auto& [table, rows] :
         {std::pair{"stock_length", &held.stock}, {"offcut", &held.offcuts}}) {
        const std::string sql = std::string("SELECT length, count FROM ") + table +
                                " WHERE bar_size = ? ORDER BY length DESC";
        Statement query(db, sql.c_str());
        query.Bind(1, barSize);
        while (query.Step())
            rows->emplace(query.Int(0), query.Int(1));
    }
    return held;
}

void SaveHeld(Database& db, int barSize, const Held& held) {
    for (const auto& [table, rows] :
         {std::pair{"stock_length", &held.stock}, {"offcut", &held.offcuts}}) {
        const std::string name = table;
        Statement(db, ("DELETE FROM " + name + " WHERE bar_size = ?").c_str())
            .Bind(1, barSize)
            .Run();
        Statement insert(db, ("INSERT INTO " + name + " VALUES (?, ?, ?)").c_str());
        for (const auto& [length, count] : *rows)
            insert.Bind(1, barSize).Bind(2, length).Bind(3, count).Run();
    }
}

std::vector<int> LoadBarSizes(Database& db) {
    Statement query(db, "SELECT bar_size FROM stock_length UNION SELECT bar_size FROM offcut "
                        "ORDER BY bar_size");
    std::vector<int> sizes;
    while (query.Step())
        sizes.push_back(query.Int(0));
    return sizes;
}

void AppendEntry(Database& db, const JournalEntry& entry, long long undoes) {
    Statement insert(db, "INSERT INTO journal (time, bar_size, order_number, kind, undoes) "
                         "VALUES (?, ?, ?, ?, ?)");
    insert.Bind(1, entry.time).Bind(2, entry.barSize).Bind(3, entry.order);
    insert.Bind(4, KindText(entry.kind));
    if (undoes != 0)
        insert.Bind(5, undoes);
    insert.Run();
    const long long id = db.LastRowId();
    Statement items(db, "INSERT INTO journal_item VALUES (?, ?, ?, ?, ?)");
    AppendItems(items, id, false, entry.taken);
    AppendItems(items, id, true, entry.added);
}

std::vector<JournalEntry> LoadJournal(Database& db) {
    Statement entries(db, "SELECT id, time, bar_size, order_number, kind FROM journal "
                          "ORDER BY id DESC");
    Statement items(db, "SELECT added, place, length, count FROM journal_item "
                        "WHERE entry = ? ORDER BY length DESC");
    std::vector<JournalEntry> journal;
    while (entries.Step()) {
        JournalEntry& entry = journal.emplace_back();
        entry.id = entries.Integer(0);
        entry.time = entries.Integer(1);
        entry.barSize = entries.Int(2);
        entry.order = entries.Text(3);
        entry.kind = KindOf(entries.Text(4));
        LoadItems(items, entry);
    }
    return journal;
}

JournalEntry LatestWriteOff(Database& db, const std::string& order) {
    Statement query(db, "SELECT id, time, bar_size FROM journal AS w "
                        "WHERE order_number = ? AND kind = 'списание' AND NOT EXISTS "
                        "(SELECT 1 FROM journal AS u WHERE u.undoes = w.id) "
                        "ORDER BY id DESC LIMIT 1");
    query.Bind(1, order);
    JournalEntry entry;
    if (!query.Step())
        return entry;
    entry.id = query.Integer(0);
    entry.time = query.Integer(1);
    entry.barSize = query.Int(2);
    entry.order = order;
    entry.kind = EntryKind::WriteOff;
    Statement items(db, "SELECT added, place, length, count FROM journal_item "
                        "WHERE entry = ? ORDER BY length DESC");
    LoadItems(items, entry);
    return entry;
}

} // namespace stock
