#include "estimate_text.h"

#include <algorithm>

namespace estimate {
namespace {

constexpr const char* NoBreakSpace = "\u00A0";

std::string Digits(Wide v) {
    std::string digits;
    do {
        digits += static_cast<char>('0' + static_cast<int>(v % 10));
        v /= 10;
    } while (v > 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

// Whole units of `unit`, halves up; both at least 0.
Wide Rounded(Wide v, Wide unit) {
    return (v + unit / 2) / unit;
}

// The value divided by 10^decimals in the report's form.
std::string DecimalText(Wide value, int decimals) {
    const std::string sign = value < 0 ? "-" : "";
    std::string digits = Digits(value < 0 ? -value : value);
    const auto places = static_cast<std::size_t>(decimals);
    if (digits.size() <= places)
        digits.insert(0, places + 1 - digits.size(), '0');
    std::string whole = digits.substr(0, digits.size() - places);
    std::string fraction = digits.substr(digits.size() - places);
    fraction.erase(fraction.find_last_not_of('0') + 1);
    if (fraction.empty())
        return sign + whole;
    if (whole == "0")
        whole.clear();
    return sign + whole + "." + fraction;
}

// The value divided by 10^decimals with every decimal and a zero before the
// point: "0.79", "1.50".
std::string FixedText(Wide value, int decimals) {
    std::string digits = Digits(value);
    const auto places = static_cast<std::size_t>(decimals);
    if (digits.size() <= places)
        digits.insert(0, places + 1 - digits.size(), '0');
    return digits.insert(digits.size() - places, ".");
}

} // namespace

std::string MoneyText(Wide roubles) {
    const std::string digits = Digits(roubles < 0 ? -roubles : roubles);
    std::string text = roubles < 0 ? "-" : "";
    for (std::size_t k = 0; k < digits.size(); ++k) {
        if (k > 0 && (digits.size() - k) % 3 == 0)
            text += NoBreakSpace;
        text += digits[k];
    }
    return text + NoBreakSpace + "₽";
}

std::string KilogramText(Wide mass) {
    return FixedText(Rounded(mass, 1'000'000), 2);
}

std::string PaidKilogramText(Wide paidMass) {
    return FixedText(Rounded(paidMass, 10'000'000'000), 2);
}

std::string MetreText(long long length) {
    return DecimalText(length, 3);
}

std::string SquareMetreText(long long area) {
    return DecimalText(area, 6);
}

std::string FieldText(long long hundredths) {
    return DecimalText(hundredths, 2);
}

} // namespace estimate
