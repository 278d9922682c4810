#include "numbers.h"

#include "order.h"

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

int DigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

double ReadRadix(const std::string& s, std::size_t pos, int radix) {
    double value = 0;
    for (; pos < s.size(); ++pos) {
        int d = DigitValue(s[pos]);
        if (d >= radix)
            break;
        value = value * radix + d;
    }
    return value;
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
        if (prefix == "&H" || prefix == "&h")
            return ReadRadix(s, 2, 16);
        if (prefix == "&O" || prefix == "&o")
            return ReadRadix(s, 2, 8);
        return 0;
    }

    // Collect the longest prefix that forms a decimal number, then let strtod
    // convert exactly that prefix (it never sees locale-dependent text).
    const std::size_t first = s.starts_with('+') || s.starts_with('-') ? 1 : 0;
    std::size_t i = first;
    std::size_t mantissaStart = i;
    while (i < s.size() && IsDigit(s[i]))
        ++i;
    bool anyDigits = i > mantissaStart;
    if (i < s.size() && s[i] == '.') {
        std::size_t j = i + 1;
        while (j < s.size() && IsDigit(s[j]))
            ++j;
        anyDigits = anyDigits || j > i + 1;
        i = j;
    }
    if (!anyDigits)
        return 0;
    std::size_t end = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        std::size_t expDigits = j;
        while (j < s.size() && IsDigit(s[j]))
            ++j;
        if (j > expDigits)
            end = j;
    }

    // from_chars is independent of the C locale, which Qt sets from the
    // environment (a Russian locale would otherwise want a comma).
    double value = 0;
    auto [ptr, ec] = std::from_chars(s.data() + first, s.data() + end, value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        std::size_t e = s.find_first_of("eE", first);
        bool tiny = e != std::string::npos && e + 1 < end && s[e + 1] == '-';
        value = tiny ? 0.0 : HUGE_VAL;
    }
    return s[0] == '-' ? -value : value;
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
