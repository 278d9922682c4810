#include "stock_rows.h"

#include <algorithm>

namespace stock {
namespace {

std::string Number(long long n) {
    return std::to_string(n);
}

std::string ItemsText(const std::vector<Bars>& items) {
    std::string text;
    for (const Bars& item : items) {
        if (!text.empty())
            text += ", ";
        text += (item.count == Unlimited ? std::string("∞") : Number(item.count)) + " × " +
                Number(item.length);
    }
    return text;
}

std::string CheckRow(const Bars& row, RowKind kind, const std::string& what) {
    if (row.length <= 0 || row.length > MostLength)
        return what + ": длина " + Number(row.length) + " мм — должна быть от 1 до 1 000 000 мм.";
    const bool unlimited = kind == RowKind::StockLengths && row.count == Unlimited;
    if (!unlimited && (row.count < 0 || row.count > MostCount))
        return what + ", длина " + Number(row.length) + " мм: количество " + Number(row.count) +
               " — должно быть от 0 до 1 000 000" +
               (kind == RowKind::StockLengths ? " или без счёта." : ".");
    return "";
}

// Adds `count` to the row of `length`; false when it would pass MostCount.
bool Add(Rows& rows, int length, int count) {
    int& held = rows[length];
    if (held > MostCount - count)
        return false;
    held += count;
    if (held == 0)
        rows.erase(length);
    return true;
}

// Takes `count` from the row of `length`; false when there are fewer.
bool Take(Rows& rows, int length, int count) {
    const auto row = rows.find(length);
    if (row == rows.end() || row->second < count)
        return false;
    row->second -= count;
    if (row->second == 0)
        rows.erase(row);
    return true;
}

std::string TooMany(int length) {
    return "Обрезков длиной " + Number(length) + " мм на складе стало бы больше 1 000 000.";
}

// Cuts no more than the planned store held.
std::string CheckWithinPlanned(const Cuts& cuts) {
    const std::string more = "Раскрой берёт со склада больше, чем было при расчёте: ";
    for (const auto& [length, count] : cuts.offcuts) {
        const auto held = cuts.planned.offcuts.find(length);
        if (held == cuts.planned.offcuts.end() || held->second < count)
            return more + "обрезки " + Number(length) + " мм.";
    }
    for (const auto& [length, count] : cuts.stock) {
        const auto held = cuts.planned.stock.find(length);
        if (held == cuts.planned.stock.end() || (held->second != Unlimited && held->second < count))
            return more + "плети " + Number(length) + " мм.";
    }
    return "";
}

} // namespace

const char* KindText(EntryKind kind) {
    switch (kind) {
    case EntryKind::WriteOff:
        return "списание";
    case EntryKind::Undo:
        return "отмена";
    case EntryKind::Correction:
        break;
    }
    return "правка";
}

std::string ChangeText(const Change& change) {
    std::string text;
    if (!change.stock.empty())
        text = "плети " + ItemsText(change.stock);
    if (!change.offcuts.empty())
        text += (text.empty() ? "" : "; ") + std::string("обрезки ") + ItemsText(change.offcuts);
    return text;
}

std::string ReadRows(const std::vector<Bars>& rows, RowKind kind, const std::string& what,
                     Rows& out) {
    out.clear();
    for (const Bars& row : rows) {
        if (std::string problem = CheckRow(row, kind, what); !problem.empty())
            return problem;
        if (kind == RowKind::StockLengths) {
            if (!out.emplace(row.length, row.count).second)
                return what + ": длина " + Number(row.length) + " мм указана дважды.";
        } else if (!Add(out, row.length, row.count)) {
            return what + ", длина " + Number(row.length) + " мм: всего больше 1 000 000.";
        }
    }
    std::erase_if(out, [](const auto& row) { return row.second == 0; });
    return "";
}

std::vector<Bars> ListOf(const Rows& rows) {
    std::vector<Bars> list;
    for (const auto& [length, count] : rows)
        list.push_back({length, count});
    return list;
}

std::string CheckBarSize(int barSize) {
    if (barSize <= 0 || barSize > MostBarSize)
        return "Размер прутка " + Number(barSize) + " мм — должен быть от 1 до 32767 мм.";
    return "";
}

std::string CheckOrder(const std::string& order) {
    if (order.empty())
        return "Не указан номер заказа.";
    if (order.size() > MostOrderBytes)
        return "Номер заказа длиннее 255 байт.";
    return "";
}

void Difference(const Rows& before, const Rows& after, std::vector<Bars>& taken,
                std::vector<Bars>& added) {
    Rows lengths = before;
    lengths.insert(after.begin(), after.end());
    for (const auto& [length, unused] : lengths) {
        const auto was = before.find(length);
        const auto is = after.find(length);
        const int old = was == before.end() ? 0 : was->second;
        const int now = is == after.end() ? 0 : is->second;
        if (old == now)
            continue;
        if (old == Unlimited || now == Unlimited) {
            if (old != 0)
                taken.push_back({length, old});
            if (now != 0)
                added.push_back({length, now});
        } else if (old > now) {
            taken.push_back({length, old - now});
        } else {
            added.push_back({length, now - old});
        }
    }
}

std::string ReadWriteOff(const WriteOff& w, Cuts& cuts) {
    std::string problem = CheckBarSize(w.barSize);
    if (problem.empty())
        problem = CheckOrder(w.order);
    const struct {
        const std::vector<Bars>& rows;
        RowKind kind;
        const char* what;
        Rows& out;
    } lists[] = {
        {w.offcutsCut, RowKind::Pieces, "Раскрой: обрезки", cuts.offcuts},
        {w.stockCut, RowKind::Pieces, "Раскрой: плети", cuts.stock},
        {w.kept, RowKind::Pieces, "Раскрой: остатки", cuts.kept},
        {w.planned.offcuts, RowKind::Pieces, "Склад при расчёте: обрезки", cuts.planned.offcuts},
        {w.planned.stock, RowKind::StockLengths, "Склад при расчёте: плети", cuts.planned.stock},
    };
    for (const auto& list : lists)
        if (problem.empty())
            problem = ReadRows(list.rows, list.kind, list.what, list.out);
    return problem.empty() ? CheckWithinPlanned(cuts) : problem;
}

std::string ApplyWriteOff(Held& held, const Cuts& cuts, Change& taken, Change& added) {
    for (const auto& [length, count] : cuts.offcuts)
        if (!Take(held.offcuts, length, count))
            return StockChanged;
    taken.offcuts = ListOf(cuts.offcuts);
    for (const auto& [length, count] : cuts.stock) {
        const auto row = held.stock.find(length);
        if (row != held.stock.end() && row->second == Unlimited)
            continue;
        if (!Take(held.stock, length, count))
            return StockChanged;
        taken.stock.push_back({length, count});
    }
    for (const auto& [length, count] : cuts.kept)
        if (!Add(held.offcuts, length, count))
            return TooMany(length);
    added.offcuts = ListOf(cuts.kept);
    return "";
}

std::string ApplyUndo(Held& held, const JournalEntry& writeOff, Change& taken, Change& added) {
    std::vector<Bars> gone;
    for (const Bars& item : writeOff.added.offcuts)
        if (!Take(held.offcuts, item.length, item.count))
            gone.push_back(item);
    if (!gone.empty())
        return "Нельзя отменить списание по заказу «" + writeOff.order +
               "»: на складе уже нет всех обрезков, которые оно добавило (" + ItemsText(gone) +
               "). Склад не изменён.";
    taken.offcuts = writeOff.added.offcuts;
    for (const Bars& item : writeOff.taken.offcuts)
        if (!Add(held.offcuts, item.length, item.count))
            return TooMany(item.length);
    added.offcuts = writeOff.taken.offcuts;
    for (const Bars& item : writeOff.taken.stock) {
        const auto row = held.stock.find(item.length);
        if (row != held.stock.end() && row->second == Unlimited)
            continue;
        if (!Add(held.stock, item.length, item.count))
            return "Плетей длиной " + Number(item.length) +
                   " мм на складе стало бы больше 1 000 000.";
        added.stock.push_back(item);
    }
    return "";
}

} // namespace stock
