// "Раскрой" on the store: the stock lengths and offcuts of the order's bar
// size shown from it and written back to it, "Списать", "Отменить списание"
// and "Склад".

#include "cutting_window.h"

#include "length_table.h"
#include "plan_write_off.h"
#include "widgets/messenger.h"

#include <QPushButton>

#include <functional>

namespace {

const QString NoOrderNumber =
    QStringLiteral("Списание записывается под номером заказа: введите номер в «Свойства заказа», "
                   "нажмите «Создать отчёт» и рассчитайте раскрой снова.");

std::vector<LengthTable::Row> TableRows(const std::vector<stock::Bars>& bars) {
    std::vector<LengthTable::Row> rows;
    for (const stock::Bars& b : bars)
        rows.push_back({b.length, b.count});
    return rows;
}

std::vector<stock::Bars> StockRows(const std::vector<LengthTable::Row>& rows) {
    std::vector<stock::Bars> bars;
    for (const LengthTable::Row& r : rows)
        bars.push_back({r.length, r.count < 0 ? stock::Unlimited : r.count});
    return bars;
}

} // namespace

void CuttingWindow::SetOrder(int barSize, const QString& order) {
    barSize_ = barSize;
    order_ = order;
    LoadStock();
}

void CuttingWindow::LoadStock() {
    stockButton_->setEnabled(store_ != nullptr);
    if (store_ == nullptr)
        return;
    const stock::Result<stock::BarStock> held = store_->Stock(barSize_);
    if (!held.ok) {
        messenger_.Error(this, QString::fromStdString(held.error));
        return;
    }
    stockTable_->SetRows(TableRows(held.value.stock));
    offcutTable_->SetRows(TableRows(held.value.offcuts));
}

void CuttingWindow::StoreStockLengths() {
    StoreRows(stockTable_, true);
}

void CuttingWindow::StoreOffcuts() {
    StoreRows(offcutTable_, false);
}

// A row the store refuses, or one not yet understood, is left for the user
// to finish; "Пересчитать" says what is wrong with it.
void CuttingWindow::StoreRows(LengthTable* table, bool stockLengths) {
    std::vector<LengthTable::Row> rows;
    QString unread;
    if (store_ == nullptr || barSize_ <= 0 || !table->ReadTyped(rows, unread))
        return;
    const stock::Status stored = stockLengths ? store_->ReplaceStock(barSize_, StockRows(rows))
                                              : store_->ReplaceOffcuts(barSize_, StockRows(rows));
    if (!stored.ok) {
        messenger_.Error(this, QString::fromStdString(stored.error));
        LoadStock();
        return;
    }
    emit StockChanged();
}

void CuttingWindow::WriteOffPlan() {
    if (store_ == nullptr || !hasPlan_)
        return;
    if (outOfDate_ || runner_.Running()) {
        messenger_.Error(this, QStringLiteral("Раскрой на экране устарел: нажмите «Пересчитать» "
                                              "и спишите новый раскрой."));
        return;
    }
    ChangeStore(QStringLiteral("Раскрой списан со склада."), [this] {
        return store_->WriteOffPlan(WriteOffOf(value_, barSize_, order_.toStdString(), planned_));
    });
}

void CuttingWindow::UndoWriteOff() {
    if (store_ != nullptr)
        ChangeStore(QStringLiteral("Списание отменено: склад восстановлен."),
                    [this] { return store_->UndoLastWriteOff(order_.toStdString()); });
}

// A write-off or its undo, kept in the journal under the order: on success
// the tables show the store again and the plan on show is out of date.
void CuttingWindow::ChangeStore(const QString& done, const std::function<stock::Status()>& change) {
    if (order_.trimmed().isEmpty()) {
        messenger_.Error(this, NoOrderNumber);
        return;
    }
    const stock::Status changed = change();
    if (!changed.ok) {
        messenger_.Error(this, QString::fromStdString(changed.error));
        return;
    }
    LoadStock();
    MarkOutOfDate();
    SetStatus(done);
    emit StockChanged();
}

void CuttingWindow::ShowStockWindow() {
    emit StockWanted();
}

void CuttingWindow::EnableStockButtons() {
    const bool store = store_ != nullptr && barSize_ > 0;
    stockButton_->setEnabled(store_ != nullptr);
    writeOffButton_->setEnabled(store && hasPlan_ && !outOfDate_ && !runner_.Running());
    undoWriteOffButton_->setEnabled(store);
}
