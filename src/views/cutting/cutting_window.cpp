#include "cutting_window.h"

#include "bar_picture.h"
#include "length_table.h"
#include "optimize/input.h"
#include "plan_print.h"
#include "plan_texts.h"
#include "printing/page_printer.h"
#include "saving/sheet_files.h"
#include "sheets/plan_sheet.h"
#include "widgets/controls.h"
#include "widgets/handler.h"
#include "widgets/layout_table.h"
#include "widgets/messenger.h"
#include "widgets/twips.h"

#include <QCloseEvent>
#include <QDate>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

const QString AnyNumber = QStringLiteral("без ограничения");

QString NotWhole(const char* what, const QString& text) {
    return QStringLiteral("%1 «%2» должна быть целым неотрицательным числом миллиметров.")
        .arg(QString::fromUtf8(what), text);
}

// clang-format off
const ControlRow Layout[] = {
    // name           kind                 parent   caption                   left   top  width height tab
    {"lblKerf",      ControlKind::Label,  nullptr, "Ширина реза, мм",          120,   150,    0,    0},
    {"txtKerf",      ControlKind::Box,    nullptr, "3",                       1800,   120,  735,  285, 1},
    {"lblTrim",      ControlKind::Label,  nullptr, "Обрезка торца, мм",       2760,   150,    0,    0},
    {"txtTrim",      ControlKind::Box,    nullptr, "0",                       4560,   120,  735,  285, 2},
    {"lblMinUseful", ControlKind::Label,  nullptr, "Деловой остаток от, мм",  5520,   150,    0,    0},
    {"txtMinUseful", ControlKind::Box,    nullptr, "500",                     7800,   120,  735,  285, 3},
    {"cmdCalculate", ControlKind::Button, nullptr, "Пересчитать",             8760,    75, 1695,  375, 4},
    {"cmdStop",      ControlKind::Button, nullptr, "Стоп",                   10560,    75, 1695,  375, 5, nullptr, false},
    {"lblStock",     ControlKind::Label,  nullptr, "Плети",                    120,   600,    0,    0},
    {"tblStock",     ControlKind::Made,   nullptr, nullptr,                    120,   840, 3360, 2160, 6},
    {"lblOffcuts",   ControlKind::Label,  nullptr, "Обрезки на складе",        120,  3120,    0,    0},
    {"tblOffcuts",   ControlKind::Made,   nullptr, nullptr,                    120,  3360, 3360, 2160, 7},
    {"tblPlan",      ControlKind::Made,   nullptr, nullptr,                   3600,   600, 8880, 4920, 8},
    {"lblTotals",    ControlKind::Label,  nullptr, "",                         120,  5640,    0,    0},
    {"lblPurchases", ControlKind::Label,  nullptr, "",                         120,  5940,    0,    0},
    {"lblLeftovers", ControlKind::Label,  nullptr, "",                         120,  6240,    0,    0},
    {"lblStatus",    ControlKind::Label,  nullptr, "",                         120,  6540,    0,    0},
    {"cmdStock",     ControlKind::Button, nullptr, "Склад",                    120,  7560, 1695,  375, 10, nullptr, false},
    {"cmdWriteOff",  ControlKind::Button, nullptr, "Списать",                 1920,  7560, 1695,  375, 11, "Списать раскрой со склада", false},
    {"cmdUndoWriteOff", ControlKind::Button, nullptr, "Отменить списание",    3720,  7560, 2295,  375, 12, "Вернуть на склад последнее списание этого заказа", false},
    {"cmdSaveExcel", ControlKind::Button, nullptr, "Сохранить в Excel",       6120,  7560, 2295,  375, 13, "Раскрой в книгу Excel", false},
    {"cmdSaveCsv",   ControlKind::Button, nullptr, "Сохранить CSV",           8520,  7560, 2160,  375, 14, "Раскрой в файл CSV для других программ", false},
    {"cmdPrint",     ControlKind::Button, nullptr, "Печать",                 10785,  7560, 1695,  375, 9, nullptr, false},
};
// clang-format on

QTableWidget* MakePlanTable(QWidget* parent) {
    auto* table = new QTableWidget(0, 6, parent);
    table->setHorizontalHeaderLabels({QStringLiteral("Плетей"), QStringLiteral("Из чего"),
                                      QStringLiteral("Раскрой, мм"), QStringLiteral("Остаток, мм"),
                                      QStringLiteral("Решетки"), QStringLiteral("Схема")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    // The texts take their own width, the picture of each pattern the rest;
    // the header keeps this up whether or not the window is shown.
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(5, QHeaderView::Stretch);
    return table;
}

} // namespace

CuttingWindow::CuttingWindow(Messenger& messenger, stock::StockStore* store)
    : QWidget(nullptr, Qt::Tool), messenger_(messenger), store_(store) {
    setObjectName(QStringLiteral("frmCutting"));
    setWindowTitle(QStringLiteral("Раскрой"));
    resize(Px(12600), Px(8100));
    const Controls controls(
        this, Layout,
        {{"tblStock",
          [](QWidget* p) { return new LengthTable(QStringLiteral("Плети"), AnyNumber, p); }},
         {"tblOffcuts",
          [](QWidget* p) { return new LengthTable(QStringLiteral("Обрезки"), QString(), p); }},
         {"tblPlan", MakePlanTable}});
    kerfBox_ = controls.Get<QLineEdit>("txtKerf");
    trimBox_ = controls.Get<QLineEdit>("txtTrim");
    leastLeftoverBox_ = controls.Get<QLineEdit>("txtMinUseful");
    stockTable_ = controls.Get<LengthTable>("tblStock");
    offcutTable_ = controls.Get<LengthTable>("tblOffcuts");
    replanButton_ = controls.Get<QPushButton>("cmdCalculate");
    stopButton_ = controls.Get<QPushButton>("cmdStop");
    printButton_ = controls.Get<QPushButton>("cmdPrint");
    workbookButton_ = controls.Get<QPushButton>("cmdSaveExcel");
    csvButton_ = controls.Get<QPushButton>("cmdSaveCsv");
    stockButton_ = controls.Get<QPushButton>("cmdStock");
    writeOffButton_ = controls.Get<QPushButton>("cmdWriteOff");
    undoWriteOffButton_ = controls.Get<QPushButton>("cmdUndoWriteOff");
    planTable_ = controls.Get<QTableWidget>("tblPlan");
    totalsLabel_ = controls.Get<QLabel>("lblTotals");
    purchasesLabel_ = controls.Get<QLabel>("lblPurchases");
    leftoversLabel_ = controls.Get<QLabel>("lblLeftovers");
    statusLabel_ = controls.Get<QLabel>("lblStatus");
    ConnectHandlers();
}

void CuttingWindow::ConnectHandlers() {
    for (QLineEdit* box : {kerfBox_, trimBox_, leastLeftoverBox_})
        connect(box, &QLineEdit::textEdited, this, &CuttingWindow::MarkOutOfDate);
    for (LengthTable* table : {stockTable_, offcutTable_})
        connect(table, &LengthTable::Edited, this, &CuttingWindow::MarkOutOfDate);
    ConnectHandler(replanButton_, &QPushButton::clicked, this, messenger_, &CuttingWindow::Replan);
    ConnectHandler(stopButton_, &QPushButton::clicked, this, messenger_,
                   &CuttingWindow::StopPlanning);
    ConnectHandler(printButton_, &QPushButton::clicked, this, messenger_,
                   &CuttingWindow::PrintPlan);
    ConnectHandler(workbookButton_, &QPushButton::clicked, this, messenger_,
                   &CuttingWindow::SavePlanWorkbook);
    ConnectHandler(csvButton_, &QPushButton::clicked, this, messenger_,
                   &CuttingWindow::SavePlanCsv);
    ConnectHandler(stockTable_, &LengthTable::Edited, this, messenger_,
                   &CuttingWindow::StoreStockLengths);
    ConnectHandler(offcutTable_, &LengthTable::Edited, this, messenger_,
                   &CuttingWindow::StoreOffcuts);
    ConnectHandler(stockButton_, &QPushButton::clicked, this, messenger_,
                   &CuttingWindow::ShowStockWindow);
    ConnectHandler(writeOffButton_, &QPushButton::clicked, this, messenger_,
                   &CuttingWindow::WriteOffPlan);
    ConnectHandler(undoWriteOffButton_, &QPushButton::clicked, this, messenger_,
                   &CuttingWindow::UndoWriteOff);

    clock_.setInterval(100);
    connect(&clock_, &QTimer::timeout, this, &CuttingWindow::ShowProgress);
    connect(&runner_, &PlanRunner::Progressed, this, [this](const cutting::Progress& progress) {
        progress_ = progress;
        ShowProgress();
    });
    connect(&runner_, &PlanRunner::Finished, this, [this](const PlanValue& value) {
        clock_.stop();
        stopButton_->setEnabled(false);
        if (value.result.ok) {
            value_ = value;
            hasPlan_ = true;
            ShowPlan();
        } else {
            ShowRefusal(QString::fromStdString(value.result.error));
        }
        emit PlanShown();
    });
}

void CuttingWindow::Plan(const std::vector<cutting::CutItem>& pieces, const QString& stockText) {
    pieces_ = pieces;
    stockTable_->SetFixedFirstRow(stockText.trimmed(), AnyNumber);
    Replan();
}

QString CuttingWindow::StockText() const {
    const QTableWidgetItem* first = stockTable_->item(0, 0);
    return first ? first->text() : QString();
}

bool CuttingWindow::ReadSettings(cutting::Settings& s, QString& error) const {
    s.kerf = WholeNumber(kerfBox_->text(), 0);
    s.trim = WholeNumber(trimBox_->text(), 0);
    s.minUseful = WholeNumber(leastLeftoverBox_->text(), 0);
    if (s.kerf < 0)
        error = NotWhole("Ширина реза", kerfBox_->text());
    else if (s.trim < 0)
        error = NotWhole("Обрезка торца", trimBox_->text());
    else if (s.minUseful < 0)
        error = NotWhole("Деловой остаток", leastLeftoverBox_->text());
    if (!error.isEmpty())
        return false;
    std::vector<LengthTable::Row> stock, offcuts;
    if (!stockTable_->Read(stock, error) || !offcutTable_->Read(offcuts, error))
        return false;
    for (const LengthTable::Row& row : stock)
        s.stocks.push_back({row.length, row.count < 0 ? cutting::Unlimited : row.count});
    for (const LengthTable::Row& row : offcuts)
        s.offcuts.push_back({row.length, row.count});
    s.stock = s.stocks.empty() ? 0 : s.stocks.front().length;
    return true;
}

void CuttingWindow::Replan() {
    cutting::Settings settings;
    QString error;
    if (!ReadSettings(settings, error) ||
        !(error = QString::fromStdString(cutting::CheckInput(pieces_, settings))).isEmpty()) {
        ShowRefusal(error);
        return;
    }
    progress_ = {};
    outOfDate_ = false;
    if (store_ != nullptr) {
        const stock::Result<stock::BarStock> held = store_->Stock(barSize_);
        planned_ = held.value;
    }
    runner_.Start(pieces_, settings);
    EnableStockButtons();
    stopButton_->setEnabled(true);
    clock_.start();
    ShowProgress();
}

void CuttingWindow::StopPlanning() {
    runner_.Stop();
}

void CuttingWindow::PrintPlan() {
    if (hasPlan_)
        PrintOrSavePdf(this, messenger_, PlanPrintJob(value_, order_, QDate::currentDate()));
}

// The plan on show alone, named after the order.
void CuttingWindow::SavePlanWorkbook() {
    if (hasPlan_)
        SaveWorkbook(this, messenger_, PlanFileStem(),
                     {sheets::PlanSheet(value_.result.plan, value_.settings)});
}

void CuttingWindow::SavePlanCsv() {
    if (hasPlan_)
        SaveCsv(this, messenger_, PlanFileStem(),
                {sheets::PlanSheet(value_.result.plan, value_.settings)});
}

QString CuttingWindow::PlanFileStem() const {
    return OrderFileStem(order_) + QStringLiteral(" — раскрой");
}

void CuttingWindow::closeEvent(QCloseEvent* event) {
    runner_.Stop();
    QWidget::closeEvent(event);
}

void CuttingWindow::ShowProgress() {
    if (!runner_.Running())
        return;
    QString text = QStringLiteral("Идёт расчёт");
    if (progress_.bars > 0)
        text += QStringLiteral(": лучший раскрой — %1 плет. (%2 мм), нижняя граница %3 плет.")
                    .arg(progress_.bars)
                    .arg(progress_.boughtLength)
                    .arg(progress_.lowerBound);
    SetStatus(text + QStringLiteral(", прошло %1 с").arg(progress_.elapsed, 0, 'f', 1));
}

void CuttingWindow::ShowPlan() {
    const cutting::Plan& plan = value_.result.plan;
    planTable_->setRowCount(static_cast<int>(plan.patterns.size()));
    for (int row = 0; row < planTable_->rowCount(); ++row) {
        const cutting::Pattern& p = plan.patterns[static_cast<size_t>(row)];
        const QStringList cells = {QString::number(p.count), SourceText(p), LengthsText(p),
                                   QString::number(p.offcut), GrillesText(p)};
        for (int c = 0; c < cells.size(); ++c)
            planTable_->setItem(row, c, new QTableWidgetItem(cells[c]));
        planTable_->setCellWidget(row, 5, new BarPicture(p, value_.settings.kerf));
    }
    totalsLabel_->setText(TotalsText(plan));
    purchasesLabel_->setText(PurchasesText(plan));
    leftoversLabel_->setText(LeftoversText(plan, value_.settings.minUseful));
    for (QLabel* l : {totalsLabel_, purchasesLabel_, leftoversLabel_})
        l->adjustSize();
    ShowStatus();
    for (QPushButton* button : {printButton_, workbookButton_, csvButton_})
        button->setEnabled(true);
    EnableStockButtons();
}

void CuttingWindow::ShowRefusal(const QString& error) {
    hasPlan_ = false;
    value_ = {};
    planTable_->setRowCount(0);
    for (QLabel* l : {totalsLabel_, purchasesLabel_, leftoversLabel_})
        l->clear();
    SetStatus(QStringLiteral("Раскрой не рассчитан."));
    for (QPushButton* button : {printButton_, workbookButton_, csvButton_})
        button->setEnabled(false);
    EnableStockButtons();
    messenger_.Error(this, error);
}

void CuttingWindow::MarkOutOfDate() {
    outOfDate_ = true;
    if (hasPlan_ && !runner_.Running())
        ShowStatus();
    EnableStockButtons();
}

void CuttingWindow::ShowStatus() {
    SetStatus(StatusText(value_) +
              (outOfDate_ ? QStringLiteral(" — устарел: данные изменены, нажмите «Пересчитать»")
                          : QString()));
}

void CuttingWindow::SetStatus(const QString& text) {
    statusLabel_->setText(text);
    statusLabel_->adjustSize();
}
