#pragma once

// The estimate's figures as text. Money is whole roubles in groups of three
// digits with a no-break space (U+00A0) between groups and before the sign:
// "12 345 ₽". Masses are kilograms to 0.01 with both decimals ("0.79",
// "1.50"); lengths and areas are written as the report writes its reals: a
// point, no trailing zeros, no point when whole and no zero before the point
// below 1 ("1.005", ".056", "2"), without group separators.

#include "estimate.h"

#include <string>

namespace estimate {

std::string MoneyText(Wide roubles);

// The pieces' mass, given in 10⁻⁸ kg, rounded half up to 0.01 kg.
std::string KilogramText(Wide mass);
// The metal paid for, given in 10⁻¹² kg, rounded half up to 0.01 kg.
std::string PaidKilogramText(Wide paidMass);

// Metres from millimetres, every digit: "1.005", "12".
std::string MetreText(long long length);
// Square metres from square millimetres, every digit: "1.2", ".0196".
std::string SquareMetreText(long long area);

// A price-list value in hundredths (kopecks, hundredths of a percent) as it
// may be typed back into its field: "120.5", ".05", "0".
std::string FieldText(long long hundredths);

} // namespace estimate
