#pragma once

// A sheet as CSV for other programs, as a Russian-locale spreadsheet program
// opens it without asking: UTF-8 with a byte-order mark, ";" between fields,
// a decimal comma, CR LF at the end of each row, and a field quoted when it
// holds ";", a quote or a line break.

#include "table.h"

#include <string>

namespace sheets {

std::string CsvText(const Sheet& sheet);

} // namespace sheets
