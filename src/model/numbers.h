#pragma once

#include "int16.h"

#include <string>
#include <string_view>

namespace model {

// Lenient reading of a number from a text box: blanks, tabs and line feeds
// anywhere are ignored; an optional sign, digits, an optional "." and digits,
// an optional exponent; &H and &O read a hexadecimal or octal integer. Reading
// stops at the first character that cannot continue the number; a text with
// no number at its start gives 0. The decimal separator is always ".".
double ParseNumber(std::string_view text);

// Nearest 16-bit integer, halves to the even neighbour; overflow error outside
// the range (and for a value that is not a number).
int16 ToInteger(double x);

// The same rounding into a 32-bit integer followed by the 1..60 check: how a
// grille number read from a text box becomes a table index.
int ToIndex(double x);

// Plain decimal text: "-5", "0", "164".
std::string IntegerText(long long v);

} // namespace model
