#include "cutting_window.h"

#include "bar_picture.h"
#include "length_table.h"
#include "optimize/input.h"
#include "plan_print.h"
#include "plan_texts.h"
#include "printing/page_printer.h"
#include "widgets/controls.h"
#include "widgets/handler.h"
#include "widgets/messenger.h"
#include "widgets/twips.h"

#include <QCloseEvent>
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

} // namespace

CuttingWindow::CuttingWindow(Messenger& messenger)
    : QWidget(nullptr, Qt::Tool), messenger_(messenger) {
    setObjectName(QStringLiteral("frmCutting"));
    setWindowTitle(QStringLiteral("Раскрой"));
    resize(Px(12600), Px(8100));
    auto label = [this](const char* name, const char* text, int left, int top) {
        QLabel* l = MakeLabel(this, name, text);
        PlaceAt(l, left, top);
        return l;
    };
    auto box = [this](const char* name, const char* text, QLabel* caption, int left) {
        QLineEdit* e = MakeBox(this, name, text, caption);
        Place(e, left, 120, 735, 285);
        connect(e, &QLineEdit::textEdited, this, &CuttingWindow::MarkOutOfDate);
        return e;
    };
    txtKerf = box("txtKerf", "3", label("lblKerf", "Ширина реза, мм", 120, 150), 1800);
    txtTrim = box("txtTrim", "0", label("lblTrim", "Обрезка торца, мм", 2760, 150), 4560);
    txtMinUseful = box("txtMinUseful", "500",
                       label("lblMinUseful", "Деловой остаток от, мм", 5520, 150), 7800);
    cmdCalculate = MakeButton(this, "cmdCalculate", "Пересчитать");
    Place(cmdCalculate, 8760, 75, 1695, 375);
    cmdStop = MakeButton(this, "cmdStop", "Стоп");
    cmdStop->setEnabled(false);
    Place(cmdStop, 10560, 75, 1695, 375);

    label("lblStock", "Плети", 120, 600);
    tblStock = Named(new LengthTable(QStringLiteral("Плети"), AnyNumber, this), "tblStock");
    Place(tblStock, 120, 840, 3360, 2160);
    label("lblOffcuts", "Обрезки на складе", 120, 3120);
    tblOffcuts = Named(new LengthTable(QStringLiteral("Обрезки"), QString(), this), "tblOffcuts");
    Place(tblOffcuts, 120, 3360, 3360, 2160);
    for (LengthTable* table : {tblStock, tblOffcuts})
        connect(table, &LengthTable::Edited, this, &CuttingWindow::MarkOutOfDate);

    tblPlan = Named(new QTableWidget(0, 6, this), "tblPlan");
    tblPlan->setHorizontalHeaderLabels(
        {QStringLiteral("Плетей"), QStringLiteral("Из чего"), QStringLiteral("Раскрой, мм"),
         QStringLiteral("Остаток, мм"), QStringLiteral("Решетки"), QStringLiteral("Схема")});
    tblPlan->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblPlan->verticalHeader()->hide();
    // The texts take their own width, the picture of each pattern the rest;
    // the header keeps this up whether or not the window is shown.
    tblPlan->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tblPlan->horizontalHeader()->setSectionResizeMode(5, QHeaderView::Stretch);
    Place(tblPlan, 3600, 600, 8880, 4920);

    lblTotals = label("lblTotals", "", 120, 5640);
    lblPurchases = label("lblPurchases", "", 120, 5940);
    lblLeftovers = label("lblLeftovers", "", 120, 6240);
    lblStatus = label("lblStatus", "", 120, 6540);
    cmdPrint = MakeButton(this, "cmdPrint", "Печать");
    cmdPrint->setEnabled(false);
    Place(cmdPrint, 10785, 7560, 1695, 375);

    ConnectHandler(cmdCalculate, &QPushButton::clicked, this, messenger_,
                   &CuttingWindow::cmdCalculate_Click);
    ConnectHandler(cmdStop, &QPushButton::clicked, this, messenger_, &CuttingWindow::cmdStop_Click);
    ConnectHandler(cmdPrint, &QPushButton::clicked, this, messenger_,
                   &CuttingWindow::cmdPrint_Click);

    clock_.setInterval(100);
    connect(&clock_, &QTimer::timeout, this, &CuttingWindow::ShowProgress);
    connect(&runner_, &PlanRunner::Progressed, this, [this](const cutting::Progress& progress) {
        progress_ = progress;
        ShowProgress();
    });
    connect(&runner_, &PlanRunner::Finished, this, [this](const PlanValue& value) {
        clock_.stop();
        cmdStop->setEnabled(false);
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
    tblStock->SetFixedFirstRow(stockText.trimmed(), AnyNumber);
    cmdCalculate_Click();
}

QString CuttingWindow::StockText() const {
    const QTableWidgetItem* first = tblStock->item(0, 0);
    return first ? first->text() : QString();
}

bool CuttingWindow::ReadSettings(cutting::Settings& s, QString& error) const {
    s.kerf = WholeNumber(txtKerf->text(), 0);
    s.trim = WholeNumber(txtTrim->text(), 0);
    s.minUseful = WholeNumber(txtMinUseful->text(), 0);
    if (s.kerf < 0)
        error = NotWhole("Ширина реза", txtKerf->text());
    else if (s.trim < 0)
        error = NotWhole("Обрезка торца", txtTrim->text());
    else if (s.minUseful < 0)
        error = NotWhole("Деловой остаток", txtMinUseful->text());
    if (!error.isEmpty())
        return false;
    std::vector<LengthTable::Row> stock, offcuts;
    if (!tblStock->Read(stock, error) || !tblOffcuts->Read(offcuts, error))
        return false;
    for (const LengthTable::Row& row : stock)
        s.stocks.push_back({row.length, row.count < 0 ? cutting::Unlimited : row.count});
    for (const LengthTable::Row& row : offcuts)
        s.offcuts.push_back({row.length, row.count});
    s.stock = s.stocks.empty() ? 0 : s.stocks.front().length;
    return true;
}

void CuttingWindow::cmdCalculate_Click() {
    cutting::Settings settings;
    QString error;
    if (!ReadSettings(settings, error) ||
        !(error = QString::fromStdString(cutting::CheckInput(pieces_, settings))).isEmpty()) {
        ShowRefusal(error);
        return;
    }
    progress_ = {};
    outOfDate_ = false;
    runner_.Start(pieces_, settings);
    cmdStop->setEnabled(true);
    clock_.start();
    ShowProgress();
}

void CuttingWindow::cmdStop_Click() {
    runner_.Stop();
}

void CuttingWindow::cmdPrint_Click() {
    if (hasPlan_)
        PrintOrSavePdf(this, messenger_, PlanPrintJob(value_));
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
    tblPlan->setRowCount(static_cast<int>(plan.patterns.size()));
    for (int row = 0; row < tblPlan->rowCount(); ++row) {
        const cutting::Pattern& p = plan.patterns[static_cast<size_t>(row)];
        const QStringList cells = {QString::number(p.count), SourceText(p), LengthsText(p),
                                   QString::number(p.offcut), GrillesText(p)};
        for (int c = 0; c < cells.size(); ++c)
            tblPlan->setItem(row, c, new QTableWidgetItem(cells[c]));
        tblPlan->setCellWidget(row, 5, new BarPicture(p, value_.settings.kerf));
    }
    lblTotals->setText(TotalsText(plan));
    lblPurchases->setText(PurchasesText(plan));
    lblLeftovers->setText(LeftoversText(plan, value_.settings.minUseful));
    for (QLabel* l : {lblTotals, lblPurchases, lblLeftovers})
        l->adjustSize();
    ShowStatus();
    cmdPrint->setEnabled(true);
}

void CuttingWindow::ShowRefusal(const QString& error) {
    hasPlan_ = false;
    value_ = {};
    tblPlan->setRowCount(0);
    for (QLabel* l : {lblTotals, lblPurchases, lblLeftovers})
        l->clear();
    SetStatus(QStringLiteral("Раскрой не рассчитан."));
    cmdPrint->setEnabled(false);
    messenger_.Error(this, error);
}

void CuttingWindow::MarkOutOfDate() {
    outOfDate_ = true;
    if (hasPlan_ && !runner_.Running())
        ShowStatus();
}

void CuttingWindow::ShowStatus() {
    SetStatus(StatusText(value_) +
              (outOfDate_ ? QStringLiteral(" — устарел: данные изменены, нажмите «Пересчитать»")
                          : QString()));
}

void CuttingWindow::SetStatus(const QString& text) {
    lblStatus->setText(text);
    lblStatus->adjustSize();
}
