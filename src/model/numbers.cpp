#include "numbers.h"

#include "order.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace model {
namespace {

bool IsIgnorable(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of a digit in the radix, or the radix itself for a character
// that is not one of its digits.
int DigitValue(char c, int radix) {
    constexpr std::string_view Digits = "0123456789abcdef";
    const auto at = Digits.substr(0, static_cast<std::size_t>(radix))
                        .find(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return at == std::string_view::npos ? radix : static_cast<int>(at);
}

double ReadRadix(std::string_view digits, int radix) {
    double value = 0;
    for (char c : digits) {
        const int d = DigitValue(c, radix);
        if (d == radix)
            break;
        value = value * radix + d;
    }
    return value;
}

// Whether the character at `i` is `c`; false past the end.
bool At(std::string_view s, std::size_t i, char c) {
    return s.substr(std::min(i, s.size()), 1) == std::string_view(&c, 1);
}

// Where the run of digits from `from` on ends.
std::size_t DigitsEnd(std::string_view s, std::size_t from) {
    return static_cast<std::size_t>(
        std::find_if_not(s.begin() + static_cast<std::ptrdiff_t>(from), s.end(), IsDigit) -
        s.begin());
}

} // namespace

double ParseNumber(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        if (!IsIgnorable(c))
            s.push_back(c);

    if (s.starts_with('&')) {
        const std::string_view prefix = std::string_view(s).substr(0, 2);
        const std::string_view digits = std::string_view(s).substr(prefix.size());
        if (prefix == "&H" || prefix == "&h")
            return ReadRadix(digits, 16);
        if (prefix == "&O" || prefix == "&o")
            return ReadRadix(digits, 8);
        return 0;
    }

    // The longest prefix that forms a decimal number: sign, digits, point,
    // digits, and an exponent only when it has digits.
    const std::size_t first = At(s, 0, '+') || At(s, 0, '-') ? 1 : 0;
    std::size_t end = DigitsEnd(s, first);
    if (At(s, end, '.'))
        end = DigitsEnd(s, end + 1);
    bool tinyExponent = false;
    if (At(s, end, 'e') || At(s, end, 'E')) {
        const std::size_t sign = end + 1;
        tinyExponent = At(s, sign, '-');
        const std::size_t digits = tinyExponent || At(s, sign, '+') ? sign + 1 : sign;
        const std::size_t exponentEnd = DigitsEnd(s, digits);
        if (exponentEnd != digits)
            end = exponentEnd;
    }

    // from_chars is independent of the C locale, which Qt sets from the
    // environment (a Russian locale would otherwise want a comma). A prefix
    // without a digit ("", "-", ".") is no number: 0.
    double value = 0;
    const auto result = std::from_chars(s.data() + first, s.data() + end, value);
    if (result.ec == std::errc::invalid_argument)
        return 0;
    if (result.ec == std::errc::result_out_of_range)
        value = tinyExponent ? 0.0 : HUGE_VAL;
    return At(s, 0, '-') ? -value : value;
}

int16 ToInteger(double x) {
    // nearbyint rounds in the current mode: the default is to nearest, ties
    // to even. The range check is written so that a NaN fails it too.
    const double r = std::nearbyint(x);
    if (!(r >= INT16_MIN && r <= INT16_MAX))
        throw RuntimeError(ErrorKind::Overflow);
    return static_cast<int16>(r);
}

int ToIndex(double x) {
    const double r = std::nearbyint(x);
    if (!(r >= INT32_MIN && r <= INT32_MAX))
        throw RuntimeError(ErrorKind::Overflow);
    const int i = static_cast<int>(r);
    CheckIndex(i);
    return i;
}

std::string IntegerText(long long v) {
    return std::to_string(v);
}

} // namespace model
