#include "input.h"

#include "cutting.h"

#include <algorithm>
#include <set>
#include <string>

namespace cutting {

namespace {

std::string Num(long long v) {
    return std::to_string(v);
}

std::string ItemName(const CutItem& item) {
    return "Решетка №" + Num(item.grille) + ", " + KindName(item.kind) + " пруток";
}

std::string StockName(size_t row) {
    return "Заготовка №" + Num(static_cast<long long>(row) + 1);
}

std::string OffcutName(size_t row) {
    return "Обрезок №" + Num(static_cast<long long>(row) + 1);
}

// The stock table as given, or the one length of any number.
std::vector<StockBar> Stocks(const Settings& s) {
    if (s.stocks.empty())
        return {{s.stock, Unlimited}};
    return s.stocks;
}

std::string CheckStockRows(const Settings& s) {
    if (s.stocks.empty()) {
        if (s.stock <= 0)
            return "Длина плети должна быть положительным числом миллиметров.";
        if (s.stock > MaxStock)
            return "Длина плети " + Num(s.stock) + " мм слишком велика: допускается не более " +
                   Num(MaxStock) + " мм.";
    }
    if (s.stocks.size() > MaxStockRows)
        return "В таблице заготовок " + Num(static_cast<long long>(s.stocks.size())) +
               " длин: допускается не более " + Num(MaxStockRows) + ".";
    for (size_t r = 0; r < s.stocks.size(); ++r) {
        const StockBar& bar = s.stocks[r];
        if (bar.length <= 0)
            return StockName(r) + ": длина " + Num(bar.length) + " мм — должна быть положительной.";
        if (bar.length > MaxStock)
            return StockName(r) + ": длина " + Num(bar.length) +
                   " мм слишком велика: допускается не более " + Num(MaxStock) + " мм.";
        if (bar.count < 0 && bar.count != Unlimited)
            return StockName(r) + ": количество " + Num(bar.count) +
                   " шт. — не может быть отрицательным.";
    }
    return {};
}

std::string CheckOffcutRows(const Settings& s) {
    if (s.offcuts.size() > MaxOffcutRows)
        return "В списке обрезков " + Num(static_cast<long long>(s.offcuts.size())) +
               " строк: допускается не более " + Num(MaxOffcutRows) + ".";
    long long offcuts = 0;
    for (size_t r = 0; r < s.offcuts.size(); ++r) {
        const Offcut& offcut = s.offcuts[r];
        if (offcut.length <= 0)
            return OffcutName(r) + ": длина " + Num(offcut.length) +
                   " мм — должна быть положительной.";
        if (offcut.length > MaxStock)
            return OffcutName(r) + ": длина " + Num(offcut.length) +
                   " мм слишком велика: допускается не более " + Num(MaxStock) + " мм.";
        if (offcut.count < 0)
            return OffcutName(r) + ": количество " + Num(offcut.count) +
                   " шт. — не может быть отрицательным.";
        offcuts += offcut.count;
    }
    if (offcuts > MaxOffcuts)
        return "Обрезков " + Num(offcuts) + " шт.: учитывается не более " + Num(MaxOffcuts) + ".";
    return {};
}

// The saw cut, the trim and what is kept, against the stock lengths.
std::string CheckCuts(const Settings& s) {
    const auto stocks = Stocks(s);
    const bool offcuts = std::any_of(s.offcuts.begin(), s.offcuts.end(),
                                     [](const Offcut& o) { return o.count > 0; });
    if (!offcuts &&
        std::none_of(stocks.begin(), stocks.end(), [](const StockBar& b) { return b.count != 0; }))
        return "Нет ни одной заготовки: укажите длину плети или обрезки на складе.";
    if (s.kerf < 0)
        return "Ширина реза не может быть отрицательной.";
    if (s.trim < 0)
        return "Торцевая обрезка не может быть отрицательной.";
    if (s.minUseful < 0)
        return "Наименьшая длина делового остатка не может быть отрицательной.";
    for (const StockBar& bar : stocks) {
        const long long usable = static_cast<long long>(bar.length) - 2LL * s.trim;
        if (usable <= 0)
            return "Торцевая обрезка " + Num(s.trim) + " мм с каждого конца не оставляет " +
                   "ничего от плети длиной " + Num(bar.length) + " мм.";
        if (s.kerf >= usable)
            return "Ширина реза " + Num(s.kerf) + " мм не оставляет места на рабочей длине " +
                   "плети " + Num(usable) + " мм.";
    }
    return {};
}

std::string CheckStock(const Settings& s) {
    for (auto check : {CheckStockRows, CheckOffcutRows, CheckCuts})
        if (std::string error = check(s); !error.empty())
            return error;
    return {};
}

} // namespace

std::string CheckInput(const std::vector<CutItem>& items, const Settings& s) {
    if (std::string error = CheckStock(s); !error.empty())
        return error;
    // The longest piece any bar to be had can give.
    long long longest = 0;
    for (const StockBar& bar : Stocks(s))
        if (bar.count != 0)
            longest = std::max(longest, static_cast<long long>(bar.length) - 2LL * s.trim);
    for (const Offcut& offcut : s.offcuts)
        if (offcut.count > 0)
            longest = std::max(longest, static_cast<long long>(offcut.length));
    const std::string where = s.stocks.empty() && s.offcuts.empty()
                                  ? " мм больше рабочей длины плети "
                                  : " мм больше рабочей длины самой длинной заготовки ";
    long long pieces = 0, needed = 0;
    for (const CutItem& item : items) {
        if (item.count <= 0)
            return ItemName(item) + ": количество " + Num(item.count) +
                   " шт. — должно быть положительным.";
        if (item.length <= 0)
            return ItemName(item) + ": длина " + Num(item.length) +
                   " мм — решетка рассчитана по нулевому или отрицательному проёму.";
        if (item.length > longest)
            return ItemName(item) + ": длина " + Num(item.length) + where + Num(longest) + " мм.";
        pieces += item.count;
        if (pieces <= MaxPieces)
            needed += static_cast<long long>(item.length + s.kerf) * item.count;
    }
    if (pieces == 0)
        return "В заказе нет ни одной рассчитанной решетки: раскраивать нечего.";
    if (pieces > MaxPieces)
        return "В заказе " + Num(pieces) + " деталей: раскрой рассчитывается не более чем для " +
               Num(MaxPieces) + " деталей.";
    // With every length counted, the bars together must at least hold the pieces.
    const auto stocks = Stocks(s);
    if (std::none_of(stocks.begin(), stocks.end(),
                     [](const StockBar& b) { return b.count == Unlimited; })) {
        long long room = 0;
        for (const StockBar& bar : stocks)
            room += static_cast<long long>(bar.count) * (bar.length - 2LL * s.trim + s.kerf);
        for (const Offcut& offcut : s.offcuts)
            room += static_cast<long long>(offcut.count) * (offcut.length + s.kerf);
        if (room < needed)
            return "Заготовок не хватает: на все детали с резами нужно " + Num(needed) +
                   " мм, а в плетях и обрезках есть только " + Num(room) + " мм.";
    }
    return {};
}

} // namespace cutting
