#pragma once

// The workshop's prices for an estimate and the reading of each from the text
// the user typed. Money is held in whole kopecks, percents in hundredths of a
// percent, so every figure typed with up to two decimals is held exactly.

#include <string>
#include <string_view>

namespace estimate {

// All prices start at 0: every workshop has its own, and an estimate priced
// at 0 shows at once that they were not entered. The waste allowance starts
// at 5 %, the markup at 0 %.
struct PriceList {
    long long metalPerKg = 0;     // kopecks per kilogram of bar
    long long perJoint = 0;       // kopecks per weld joint
    long long perArea = 0;        // kopecks per square metre of grille (its area S)
    long long paintPerArea = 0;   // kopecks per square metre of painted surface
    int wasteAllowance = 5 * 100; // hundredths of a percent of the pieces' mass
    int markup = 0;               // hundredths of a percent of the price

    friend bool operator==(const PriceList&, const PriceList&) = default;
};

enum class PriceField { MetalPerKg, PerJoint, PerArea, PaintPerArea, WasteAllowance, Markup };

// The most each field accepts: 10 000 000 roubles for a price, 1000 % for a
// percent, in the field's hundredths.
inline constexpr long long MostMoney = 10'000'000LL * 100;
inline constexpr long long MostPercent = 1000LL * 100;
long long MostOf(PriceField field);

// The field's value in its hundredths, and the message for a refused text.
struct ParsedField {
    bool ok = false;
    long long value = 0;
    std::string error; // in Russian, naming the field, when !ok
};

// Reads a field as typed: "120", "120,5", "120.50", ".5", "10 000 000".
// Blanks around the number are ignored; inside the whole part a plain,
// no-break (U+00A0) or narrow no-break (U+202F) space may separate groups of
// three digits. Letters, a sign, more than two decimals and values above the
// field's most are refused.
ParsedField ParseField(PriceField field, std::string_view text);

long long FieldValue(const PriceList& prices, PriceField field);

// Stores a value in the field's hundredths; false, with the prices as they
// were, when it is out of the field's range.
bool SetFieldValue(PriceList& prices, PriceField field, long long value);

// Stores the field read from the text and returns ""; on a refused text
// returns the message and leaves the prices as they were.
std::string SetField(PriceList& prices, PriceField field, std::string_view text);

// The first field of the prices outside its range, with its message; "" when
// all are in range. An estimate refuses prices this refuses.
std::string CheckPrices(const PriceList& prices);

} // namespace estimate
