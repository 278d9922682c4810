#include "model/numbers.h"

#include "raised.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

using model::ErrorKind;

namespace {

struct ParseCase {
    const char* text;
    double value;
};

class ParseNumberForms : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberForms, ReadsTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(model::ParseNumber(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseNumberForms,
    ::testing::Values(
        ParseCase{"", 0}, ParseCase{"abc", 0}, ParseCase{"1200", 1200}, ParseCase{"12a", 12},
        ParseCase{"2.5", 2.5}, ParseCase{".5", 0.5}, ParseCase{"5.", 5}, ParseCase{"-5", -5},
        ParseCase{"+7", 7}, ParseCase{"1 2 0 0", 1200}, ParseCase{" \t12\n3", 123},
        ParseCase{"1e3", 1000}, ParseCase{"1.5E-1", 0.15}, ParseCase{"2e", 2}, ParseCase{"2e+", 2},
        ParseCase{"E5", 0}, ParseCase{"-", 0}, ParseCase{"1,5", 1}, ParseCase{"&H1F", 31},
        ParseCase{"&H10", 16}, ParseCase{"&hff", 255}, ParseCase{"&O17", 15}, ParseCase{"&o8", 0},
        ParseCase{"&X1", 0}, ParseCase{"--1", 0}, ParseCase{"1.2.3", 1.2}, ParseCase{"1e-400", 0},
        ParseCase{"1e400", HUGE_VAL}, ParseCase{"-1e400", -HUGE_VAL}));

// Switches a category of the C locale for the length of a scope.
class LocaleSwitch {
public:
    LocaleSwitch(int category, const char* name)
        : category_(category), saved_(std::setlocale(category, nullptr)),
          switched_(std::setlocale(category, name) != nullptr) {}
    LocaleSwitch(const LocaleSwitch&) = delete;
    LocaleSwitch& operator=(const LocaleSwitch&) = delete;
    ~LocaleSwitch() { std::setlocale(category_, saved_.c_str()); }
    bool Switched() const { return switched_; }

private:
    int category_;
    std::string saved_;
    bool switched_;
};

// Qt sets the C locale from the environment, and a Russian one wants a
// decimal comma; the text boxes still read "." as the separator. The locale
// comes from tools/install-deps.sh: without it this test fails rather than
// pass without a comma to try.
TEST(ParseNumber, ReadsAlikeUnderADecimalCommaLocale) {
    const char* texts[] = {"2.5", "1,5", " -0.75", ".5e1", "1.5E-1", "12,5.5", "&H1F", "1e400"};
    std::vector<double> inC;
    for (const char* text : texts)
        inC.push_back(model::ParseNumber(text));
    for (int category : {LC_NUMERIC, LC_ALL}) {
        SCOPED_TRACE(category == LC_ALL ? "LC_ALL" : "LC_NUMERIC");
        LocaleSwitch russian(category, "ru_RU.UTF-8");
        ASSERT_TRUE(russian.Switched()) << "no ru_RU.UTF-8 locale: run tools/install-deps.sh";
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
        for (std::size_t i = 0; i < std::size(texts); ++i)
            EXPECT_EQ(model::ParseNumber(texts[i]), inC[i]) << texts[i];
    }
    EXPECT_EQ(inC[0], 2.5);
    EXPECT_EQ(inC[1], 1);
}

TEST(ToInteger, RoundsHalvesToEvenWithinSixteenBits) {
    const std::pair<double, int> rows[] = {{2.5, 2},         {3.5, 4},          {-13.5, -14},
                                           {59.5, 60},       {60.5, 60},        {2.4999, 2},
                                           {-0.4, 0},        {32767, 32767},    {-32768, -32768},
                                           {32767.4, 32767}, {-32768.5, -32768}};
    for (const auto& [value, rounded] : rows)
        EXPECT_EQ(model::ToInteger(value), rounded) << value;
    for (double value : {32767.5, 32768.0, -32769.0, 123456.0, HUGE_VAL, std::nan("")})
        EXPECT_EQ(KindOf([=] { model::ToInteger(value); }), ErrorKind::Overflow) << value;
}

TEST(ToIndex, RoundsThenChecksTheTableRange) {
    const std::pair<double, int> rows[] = {{1, 1}, {60.4, 60}, {1.5, 2}, {60.5, 60}};
    for (const auto& [value, index] : rows)
        EXPECT_EQ(model::ToIndex(value), index) << value;
    for (double value : {0.5, 0.0, 60.6, 70000.0, -2147483648.0})
        EXPECT_EQ(KindOf([=] { model::ToIndex(value); }), ErrorKind::SubscriptOutOfRange) << value;
    for (double value : {1e12, std::nan("")})
        EXPECT_EQ(KindOf([=] { model::ToIndex(value); }), ErrorKind::Overflow) << value;
}

TEST(IntegerText, PlainDecimal) {
    const std::pair<int, std::string> rows[] = {
        {164, "164"}, {-5, "-5"}, {0, "0"}, {-32768, "-32768"}};
    for (const auto& [value, text] : rows)
        EXPECT_EQ(model::IntegerText(value), text);
}

} // namespace
