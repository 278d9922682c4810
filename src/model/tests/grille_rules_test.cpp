#include "model/grille_rules.h"

#include <gtest/gtest.h>

namespace {

using model::int16;

TEST(GrilleRules, ADoubleBeltFromJustAbove1500Millimetres) {
    const struct {
        int16 width;
        int16 doubleBelt;
        bool needed;
    } rows[] = {
        // clang-format off
        {1500, model::False16, false}, {1501, model::False16, true},
        {1501, model::True16, false}, {-2000, model::False16, false},
        // clang-format on
    };
    for (const auto& row : rows) {
        model::Grille grille;
        grille.B = row.width;
        grille.DoubleBelt = row.doubleBelt;
        EXPECT_EQ(model::NeedsDoubleBelt(grille), row.needed) << row.width;
    }
}

TEST(GrilleRules, InsertsNoneOrFrom40To144Millimetres) {
    const struct {
        int16 insert;
        bool outOfRange;
    } rows[] = {{-1, true},  {0, false},   {1, true},  {39, true},
                {40, false}, {144, false}, {145, true}};
    for (const auto& row : rows)
        EXPECT_EQ(model::InsertsOutOfRange(row.insert), row.outOfRange) << row.insert;
}

} // namespace
