#include "stock_window.h"

#include "stock/stock_store.h"
#include "widgets/handler.h"
#include "widgets/messenger.h"

#include <QComboBox>
#include <QDateTime>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {

using Rows = std::vector<QStringList>;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString BarSizeText(int barSize) {
    return QStringLiteral("%1 мм").arg(barSize);
}

QTableWidget* ReadOnlyTable(const char* name, const QStringList& headers, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setObjectName(QLatin1String(name));
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

QWidget* Framed(const QString& title, QWidget* content, QWidget* parent) {
    auto* frame = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(content);
    return frame;
}

void Fill(QTableWidget* table, const Rows& rows, Qt::Alignment alignment) {
    table->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < table->rowCount(); ++row) {
        const QStringList& cells = rows[static_cast<size_t>(row)];
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setTextAlignment(alignment | Qt::AlignVCenter);
            table->setItem(row, column, item);
        }
    }
    table->resizeColumnsToContents();
}

Rows BarRows(const std::vector<stock::Bars>& bars) {
    Rows rows;
    for (const stock::Bars& b : bars)
        rows.push_back({QString::number(b.length), b.count == stock::Unlimited
                                                       ? QStringLiteral("без ограничения")
                                                       : QString::number(b.count)});
    return rows;
}

Rows JournalRows(const std::vector<stock::JournalEntry>& journal) {
    Rows rows;
    for (const stock::JournalEntry& e : journal)
        rows.push_back({QDateTime::fromSecsSinceEpoch(e.time, Qt::LocalTime)
                            .toString(QStringLiteral("dd.MM.yyyy HH:mm")),
                        BarSizeText(e.barSize), Q(e.order),
                        QString::fromUtf8(stock::KindText(e.kind)), Q(stock::ChangeText(e.taken)),
                        Q(stock::ChangeText(e.added))});
    return rows;
}

} // namespace

StockWindow::StockWindow(stock::StockStore& store, Messenger& messenger)
    : QWidget(nullptr, Qt::Window), store_(store), messenger_(messenger) {
    setObjectName(QStringLiteral("frmStock"));
    setWindowTitle(QStringLiteral("Склад"));
    const QStringList barColumns = {QStringLiteral("Длина, мм"), QStringLiteral("Количество")};
    barSizeBox_ = new QComboBox(this);
    barSizeBox_->setObjectName(QStringLiteral("cboBarSize"));
    stockTable_ = ReadOnlyTable("tblStock", barColumns, this);
    offcutTable_ = ReadOnlyTable("tblOffcuts", barColumns, this);
    journalTable_ = ReadOnlyTable("tblJournal",
                                  {QStringLiteral("Время"), QStringLiteral("Квадрат"),
                                   QStringLiteral("Заказ"), QStringLiteral("Действие"),
                                   QStringLiteral("Взято"), QStringLiteral("Добавлено")},
                                  this);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(new QLabel(QStringLiteral("Квадрат:"), this));
    sizeRow->addWidget(barSizeBox_);
    sizeRow->addStretch();
    auto* barRow = new QHBoxLayout;
    barRow->addWidget(Framed(QStringLiteral("Плети"), stockTable_, this));
    barRow->addWidget(Framed(QStringLiteral("Обрезки"), offcutTable_, this));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sizeRow);
    layout->addLayout(barRow, 1);
    layout->addWidget(Framed(QStringLiteral("Журнал"), journalTable_, this), 1);
    resize(760, 600);
    ConnectHandler(barSizeBox_, &QComboBox::currentIndexChanged, this, messenger_,
                   &StockWindow::ShowSelectedSize);
    Refresh();
}

void StockWindow::Refresh() {
    // Braced, so read in this order: the list first picks the size shown.
    const QString refusals[] = {ListBarSizes(), ShowStock(), ShowJournal()};
    for (const QString& refusal : refusals) {
        if (!refusal.isEmpty()) {
            messenger_.Error(this, refusal);
            return;
        }
    }
}

void StockWindow::ShowBarSize(int barSize) {
    barSize_ = barSize;
    Refresh();
}

void StockWindow::ShowSelectedSize() {
    barSize_ = barSizeBox_->currentData().toInt();
    const QString refusal = ShowStock();
    if (!refusal.isEmpty())
        messenger_.Error(this, refusal);
}

// The store's sizes, and the one selected when the store holds none of it:
// it stays selected, or the smallest held is when none was yet.
QString StockWindow::ListBarSizes() {
    const stock::Result<std::vector<int>> held = store_.BarSizes();
    std::vector<int> sizes = held.ok ? held.value : std::vector<int>{};
    if (barSize_ == 0 && !sizes.empty())
        barSize_ = sizes.front();
    const auto place = std::lower_bound(sizes.begin(), sizes.end(), barSize_);
    if (barSize_ != 0 && (place == sizes.end() || *place != barSize_))
        sizes.insert(place, barSize_);
    const QSignalBlocker quiet(barSizeBox_);
    barSizeBox_->clear();
    for (int size : sizes)
        barSizeBox_->addItem(BarSizeText(size), size);
    barSizeBox_->setCurrentIndex(barSizeBox_->findData(barSize_));
    return held.ok ? QString() : Q(held.error);
}

QString StockWindow::ShowStock() {
    stock::Result<stock::BarStock> held{{true, {}}, {}};
    if (barSize_ != 0)
        held = store_.Stock(barSize_);
    const stock::BarStock shown = held.ok ? held.value : stock::BarStock{};
    Fill(stockTable_, BarRows(shown.stock), Qt::AlignRight);
    Fill(offcutTable_, BarRows(shown.offcuts), Qt::AlignRight);
    return held.ok ? QString() : Q(held.error);
}

QString StockWindow::ShowJournal() {
    const stock::Result<std::vector<stock::JournalEntry>> journal = store_.Journal();
    Fill(journalTable_,
         JournalRows(journal.ok ? journal.value : std::vector<stock::JournalEntry>{}),
         Qt::AlignLeft);
    return journal.ok ? QString() : Q(journal.error);
}
