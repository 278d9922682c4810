#pragma once

// Sheets as an Excel workbook (.xlsx), written by libxlsxwriter: each sheet
// a worksheet of its name, sections one below the other with a blank row
// between, headers bold and the first frozen, numbers as numbers in their
// formats, columns as wide as their content.

#include "table.h"

#include <string>
#include <vector>

namespace sheets {

// Writes the workbook at `path`, replacing a file there. Returns "" or the
// reason in Russian, to follow "Не удалось сохранить файл …: ". A failure may leave part of a file at `path`: callers
// write into a temporary file and move it in place only when this succeeds.
std::string WriteWorkbook(const std::string& path, const std::vector<Sheet>& sheets);

} // namespace sheets
