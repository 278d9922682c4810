#pragma once

// The texts of the report, byte for byte: number forms, the report table,
// the cut list of each grille and the order heading. Texts are UTF-8, lines
// end in CR LF and columns rely on tab stops every 8 character cells.

#include "model/order.h"

#include <array>
#include <string>
#include <string_view>

namespace report {

inline constexpr std::string_view LineEnd = "\r\n";

// Padded number text: a blank before a zero or positive value, "-" before a
// negative one. Reals get at most 15 significant digits, no trailing zeros, no
// point when whole and no zero before the point below 1 (" .85").
std::string PaddedInteger(long long v);
std::string PaddedReal(double v);
// The padded text without its leading blank ("1200", ".85", "-5").
std::string TrimmedInteger(long long v);
std::string TrimmedReal(double v);

// The twelve cells of grille i in the list of grilles, in column order.
using ListRow = std::array<std::string, 12>;
ListRow ListRowOf(int i, const model::Opening& opening, const model::Grille& grille);

// Lines of the report table. Header, separator and grille rows end in CR LF;
// the total line has no line end.
std::string TableHeader();
std::string TableSeparator();
std::string TableRow(int i, const model::Opening& opening, const model::Grille& grille);
std::string TableTotal(double totalArea);

// The three-line cut list of grille i. Its lengths and counts are 16-bit
// numbers: near the limits the vertical bars (n + 3 of H - q) raise the
// overflow error.
std::string MaterialBlock(int i, const model::Grille& grille);

// "Заказ #" followed by the order number as typed.
std::string OrderHeading(std::string_view orderNumber);

} // namespace report
