#include "estimate/price_list.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

using estimate::PriceField;

struct ParseRow {
    PriceField field;
    const char* text;
    long long value; // -1 when refused
    const char* error;
};

const std::string MetalRange = "Цена металла: введите число от 0 до 10 000 000";

// clang-format off
const ParseRow ParseRows[] = {
    {PriceField::MetalPerKg, "120", 12000, ""},
    {PriceField::MetalPerKg, "120,5", 12050, ""},
    {PriceField::MetalPerKg, "120.50", 12050, ""},
    {PriceField::MetalPerKg, " 10 000 000 ", 1000000000, ""},
    {PriceField::MetalPerKg, "1\u00A0234,56", 123456, ""},
    {PriceField::MetalPerKg, ",5", 50, ""},
    {PriceField::MetalPerKg, "0", 0, ""},
    {PriceField::WasteAllowance, "12,25", 1225, ""},
    {PriceField::Markup, "1000", 100000, ""},
    {PriceField::MetalPerKg, "12a", -1, MetalRange.c_str()},
    {PriceField::MetalPerKg, "-5", -1, MetalRange.c_str()},
    {PriceField::MetalPerKg, "", -1, MetalRange.c_str()},
    {PriceField::MetalPerKg, "5,", -1, MetalRange.c_str()},
    {PriceField::MetalPerKg, "1 23", -1, MetalRange.c_str()},
    {PriceField::MetalPerKg, "1234 567", -1, MetalRange.c_str()},
    {PriceField::MetalPerKg, "12 0000", -1, MetalRange.c_str()},
    {PriceField::MetalPerKg, "10 000 000,01", -1, MetalRange.c_str()},
    {PriceField::MetalPerKg, "99999999999999999999", -1, MetalRange.c_str()},
    {PriceField::MetalPerKg, "120,505", -1,
     "Цена металла: введите число не более чем с двумя знаками после запятой"},
    {PriceField::PerJoint, "1e3", -1, "Цена сварного узла: введите число от 0 до 10 000 000"},
    {PriceField::Markup, "1000,01", -1, "Наценка: введите число от 0 до 1000"},
    {PriceField::WasteAllowance, "+5", -1, "Припуск на отходы: введите число от 0 до 1000"},
};
// clang-format on

TEST(ParseField, AcceptsDecimalCommaOrPointAndGroupedDigitsAndNamesTheFieldOnRefusal) {
    for (const ParseRow& row : ParseRows) {
        SCOPED_TRACE(row.text);
        const estimate::ParsedField parsed = estimate::ParseField(row.field, row.text);
        const estimate::ParsedField expected{row.value >= 0, row.value >= 0 ? row.value : 0,
                                             row.error};
        EXPECT_EQ(std::tie(parsed.ok, parsed.value, parsed.error),
                  std::tie(expected.ok, expected.value, expected.error));
    }
}

TEST(SetField, StoresAnAcceptedTextAndLeavesThePricesAsTheyWereOnARefusal) {
    estimate::PriceList prices;
    EXPECT_EQ(estimate::SetField(prices, PriceField::PaintPerArea, "350,75"), "");
    const estimate::PriceList before = prices;
    EXPECT_EQ(estimate::SetField(prices, PriceField::PaintPerArea, "35O"),
              "Цена покраски: введите число от 0 до 10 000 000");
    EXPECT_EQ(prices, before);
    EXPECT_EQ(prices.paintPerArea, 35075);
}

} // namespace
