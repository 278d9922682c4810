#include "price_list.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace estimate {
namespace {

constexpr std::array AllFields = {PriceField::MetalPerKg,     PriceField::PerJoint,
                                  PriceField::PerArea,        PriceField::PaintPerArea,
                                  PriceField::WasteAllowance, PriceField::Markup};

// A value above any field's most has more whole digits than this.
constexpr std::size_t MostWholeDigits = 8;

const char* FieldName(PriceField field) {
    switch (field) {
    case PriceField::MetalPerKg:
        return "Цена металла";
    case PriceField::PerJoint:
        return "Цена сварного узла";
    case PriceField::PerArea:
        return "Цена квадратного метра решетки";
    case PriceField::PaintPerArea:
        return "Цена покраски";
    case PriceField::WasteAllowance:
        return "Припуск на отходы";
    case PriceField::Markup:
        return "Наценка";
    }
    return "";
}

std::string RangeMessage(PriceField field) {
    const char* most = MostOf(field) == MostMoney ? "10 000 000" : "1000";
    return std::string(FieldName(field)) + ": введите число от 0 до " + most;
}

std::string DecimalsMessage(PriceField field) {
    return std::string(FieldName(field)) +
           ": введите число не более чем с двумя знаками после запятой";
}

bool AllDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The text with no-break and narrow no-break spaces made plain, blanks around
// it dropped.
std::string Normalised(std::string_view text) {
    std::string s;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) == "\u00A0") {
            s += ' ';
            ++i;
        } else if (text.substr(i, 3) == "\u202F") {
            s += ' ';
            i += 2;
        } else {
            s += text[i];
        }
    }
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// The digits of the whole part with the spaces between its groups taken out;
// nothing when a character is not a digit or a group after the first does
// not have three digits, or the first more than three.
std::optional<std::string> WholeDigits(std::string_view whole) {
    std::vector<std::string_view> groups;
    for (std::size_t from = 0;;) {
        const auto space = whole.find(' ', from);
        groups.push_back(whole.substr(from, space - from));
        if (space == std::string_view::npos)
            break;
        from = space + 1;
    }
    const auto threeDigits = [](std::string_view g) { return g.size() == 3; };
    if (!std::all_of(groups.begin(), groups.end(), AllDigits) ||
        (groups.size() > 1 && (groups.front().size() > 3 ||
                               !std::all_of(groups.begin() + 1, groups.end(), threeDigits))))
        return std::nullopt;
    std::string digits;
    for (std::string_view g : groups)
        digits += g;
    return digits;
}

long long ValueOf(std::string_view digits) {
    long long value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

} // namespace

long long MostOf(PriceField field) {
    return field == PriceField::WasteAllowance || field == PriceField::Markup ? MostPercent
                                                                              : MostMoney;
}

ParsedField ParseField(PriceField field, std::string_view text) {
    const std::string s = Normalised(text);
    const auto point = s.find_first_of(",.");
    const std::string_view whole = std::string_view(s).substr(0, point);
    const std::string_view fraction =
        point == std::string::npos ? std::string_view() : std::string_view(s).substr(point + 1);
    std::optional<std::string> digits = WholeDigits(whole);
    const bool fractionOk =
        AllDigits(fraction) && (point == std::string::npos || !fraction.empty());
    if (!digits || !fractionOk || (digits->empty() && fraction.empty()))
        return {false, 0, RangeMessage(field)};
    if (fraction.size() > 2)
        return {false, 0, DecimalsMessage(field)};
    digits->erase(0, std::min(digits->find_first_not_of('0'), digits->size()));
    if (digits->size() > MostWholeDigits)
        return {false, 0, RangeMessage(field)};
    const long long hundredths = ValueOf(fraction) * (fraction.size() == 1 ? 10 : 1);
    const long long value = ValueOf(*digits) * 100 + hundredths;
    if (value > MostOf(field))
        return {false, 0, RangeMessage(field)};
    return {true, value, ""};
}

long long FieldValue(const PriceList& prices, PriceField field) {
    switch (field) {
    case PriceField::MetalPerKg:
        return prices.metalPerKg;
    case PriceField::PerJoint:
        return prices.perJoint;
    case PriceField::PerArea:
        return prices.perArea;
    case PriceField::PaintPerArea:
        return prices.paintPerArea;
    case PriceField::WasteAllowance:
        return prices.wasteAllowance;
    case PriceField::Markup:
        return prices.markup;
    }
    return 0;
}

bool SetFieldValue(PriceList& prices, PriceField field, long long value) {
    if (value < 0 || value > MostOf(field))
        return false;
    switch (field) {
    case PriceField::MetalPerKg:
        prices.metalPerKg = value;
        break;
    case PriceField::PerJoint:
        prices.perJoint = value;
        break;
    case PriceField::PerArea:
        prices.perArea = value;
        break;
    case PriceField::PaintPerArea:
        prices.paintPerArea = value;
        break;
    case PriceField::WasteAllowance:
        prices.wasteAllowance = static_cast<int>(value);
        break;
    case PriceField::Markup:
        prices.markup = static_cast<int>(value);
        break;
    }
    return true;
}

std::string SetField(PriceList& prices, PriceField field, std::string_view text) {
    const ParsedField parsed = ParseField(field, text);
    if (!parsed.ok)
        return parsed.error;
    SetFieldValue(prices, field, parsed.value);
    return "";
}

std::string CheckPrices(const PriceList& prices) {
    for (PriceField field : AllFields) {
        const long long value = FieldValue(prices, field);
        if (value < 0 || value > MostOf(field))
            return RangeMessage(field);
    }
    return "";
}

} // namespace estimate
