#include "table.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace sheets {
namespace {

Cell Number(double value, int decimals, std::string text) {
    return {Cell::Kind::Number, std::move(text), value, decimals};
}

double PowerOfTen(int decimals) {
    double scale = 1;
    for (int k = 0; k < decimals; ++k)
        scale *= 10;
    return scale;
}

} // namespace

std::string DecimalText(long long units, int decimals) {
    std::string digits = std::to_string(units < 0 ? -static_cast<unsigned long long>(units)
                                                  : static_cast<unsigned long long>(units));
    const auto places = static_cast<std::size_t>(decimals);
    if (digits.size() <= places)
        digits.insert(0, places + 1 - digits.size(), '0');
    const std::size_t whole = digits.size() - places;
    std::string text = units < 0 ? "-" : "";
    text.append(digits, 0, whole);
    if (places > 0)
        text.append(",").append(digits, whole, places);
    return text;
}

Cell Text(std::string text) {
    if (text.empty())
        return {};
    return {Cell::Kind::Text, std::move(text), 0, -1};
}

Cell Integer(long long value) {
    return Number(static_cast<double>(value), 0, std::to_string(value));
}

Cell Fixed(long long units, int decimals) {
    return Number(static_cast<double>(units) / PowerOfTen(decimals), decimals,
                  DecimalText(units, decimals));
}

Cell Exact(long long units, int decimals) {
    std::string text = DecimalText(units, decimals);
    if (text.find(',') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == ',')
            text.pop_back();
    }
    return Number(static_cast<double>(units) / PowerOfTen(decimals), -1, std::move(text));
}

Cell Real(double value) {
    // to_chars ignores the C locale, which Qt sets from the environment.
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
    std::string text(buffer, end);
    for (char& c : text)
        if (c == '.')
            c = ',';
    return Number(value, -1, std::move(text));
}

Cell Rounded(double value, int decimals, std::string text) {
    return Number(value, decimals, std::move(text));
}

} // namespace sheets
