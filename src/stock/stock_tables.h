#pragma once

// The store's tables in the file: the rows per bar size, the journal with
// its items, and the layout's steps from one version to the next. Each call
// runs inside the caller's transaction and raises SqlError when the file
// fails.

#include "sqlite_db.h"
#include "stock_rows.h"

#include <string>
#include <vector>

namespace stock {

// Checks a file just opened and brings its layout up to SchemaVersion, in
// one transaction. The reason the file is refused, or "".
std::string PrepareStore(Database& db);

Held LoadHeld(Database& db, int barSize);
// Replaces the bar size's rows with `held`.
void SaveHeld(Database& db, int barSize, const Held& held);
std::vector<int> LoadBarSizes(Database& db);

// Appends the entry, for an undo naming the write-off it undoes.
void AppendEntry(Database& db, const JournalEntry& entry, long long undoes = 0);
std::vector<JournalEntry> LoadJournal(Database& db);
// The order's latest write-off that no undo names; id 0 when there is none.
JournalEntry LatestWriteOff(Database& db, const std::string& order);

} // namespace stock
