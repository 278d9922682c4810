#include "report_text.h"

#include "model/cut_list.h"
#include "model/int16.h"
#include "model/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace report {
namespace {

constexpr char Tab = '\t';

std::string Padded(std::string magnitude, bool negative) {
    return (negative ? "-" : " ") + magnitude;
}

std::string Trim(std::string padded) {
    if (!padded.empty() && padded.front() == ' ')
        padded.erase(0, 1);
    return padded;
}

// The cells shared by the list and the table, in column order.
template <class Text>
std::array<std::string, 12> Cells(int i, const model::Opening& o, const model::Grille& g,
                                  Text text) {
    return {text(i),           text(o.Width), text(o.Height),  text(o.TopGap),
            text(o.BottomGap), text(g.t),     text(g.n),       text(g.B),
            text(g.H),         text(g.b),     text(o.SideGap), std::string()};
}

} // namespace

std::string PaddedInteger(long long v) {
    std::string digits = model::IntegerText(v);
    if (v < 0)
        return digits;
    return " " + digits;
}

std::string PaddedReal(double v) {
    if (std::isnan(v))
        return " NaN";
    if (std::isinf(v))
        return Padded("Inf", v < 0);

    // to_chars ignores the C locale, which Qt sets from the environment.
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(v), std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    for (char& c : text)
        if (c == 'e')
            c = 'E';
    if (text.size() > 1 && text[0] == '0' && text[1] == '.')
        text.erase(0, 1);
    return Padded(text, v < 0);
}

std::string TrimmedInteger(long long v) {
    return Trim(PaddedInteger(v));
}
std::string TrimmedReal(double v) {
    return Trim(PaddedReal(v));
}

ListRow ListRowOf(int i, const model::Opening& opening, const model::Grille& grille) {
    ListRow row = Cells(i, opening, grille, [](long long v) { return TrimmedInteger(v); });
    row[11] = TrimmedReal(grille.S);
    return row;
}

std::string TableHeader() {
    return " N\t| Ш.П\t| В.П\t| В.З\t| Н.З\t| t\t| n\t| B\t| H\t| b\t| Б.З\t| S\r\n";
}

std::string TableSeparator() {
    std::string line(8, '-');
    for (int k = 0; k < 10; ++k)
        line += "+-------";
    line += "+-----------";
    return line + std::string(LineEnd);
}

std::string TableRow(int i, const model::Opening& opening, const model::Grille& grille) {
    const auto cells = Cells(i, opening, grille, [](long long v) { return PaddedInteger(v); });
    std::string line;
    for (std::size_t c = 0; c + 1 < cells.size(); ++c) {
        line += cells[c];
        line += Tab;
        line += '|';
    }
    line += PaddedReal(grille.S);
    return line + std::string(LineEnd);
}

std::string TableTotal(double totalArea) {
    return std::string(11, Tab) + "S = " + PaddedReal(totalArea);
}

std::string MaterialBlock(int i, const model::Grille& grille) {
    const model::CutList cuts = model::CutListOf(grille);
    const model::int16 barCount = model::Checked(cuts.verticalCount);
    const model::int16 barLength = model::Checked(cuts.verticalLength);

    std::string block = "--- Решетка №" + PaddedInteger(i) + " ---------------\r\n";
    block += Tab;
    block += "Длина =" + PaddedInteger(cuts.horizontalLength) +
             " мм. Количество =" + PaddedInteger(cuts.horizontalCount) + std::string(LineEnd);
    block += Tab;
    block += "Длина =" + PaddedInteger(barLength) + " мм. Количество =" + PaddedInteger(barCount) +
             std::string(LineEnd);
    return block;
}

std::string OrderHeading(std::string_view orderNumber) {
    return "Заказ #" + std::string(orderNumber);
}

} // namespace report
