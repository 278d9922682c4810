#include "estimate_window.h"

#include "price_list_store.h"
#include "quote_print.h"

#include "estimate/estimate_text.h"
#include "printing/page_printer.h"
#include "saving/sheet_files.h"
#include "sheets/estimate_sheet.h"
#include "sheets/order_sheets.h"
#include "widgets/handler.h"
#include "widgets/messenger.h"

#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>

namespace {

using estimate::PriceField;

struct PriceRow {
    PriceField field;
    const char* name;
    const char* caption;
};

const std::array<PriceRow, 6> PriceRows = {{
    {PriceField::MetalPerKg, "txtMetalPerKg", "Металл, ₽ за кг"},
    {PriceField::PerJoint, "txtPerJoint", "Сварной узел, ₽"},
    {PriceField::PerArea, "txtPerArea", "Решетка, ₽ за м²"},
    {PriceField::PaintPerArea, "txtPaintPerArea",
     "Покраска, ₽ за м² поверхности"},
    {PriceField::WasteAllowance, "txtWasteAllowance", "Припуск на отходы, %"},
    {PriceField::Markup, "txtMarkup", "Наценка, %"},
}};

const char* const GrilleColumns[] = {"№",    "B × H, мм",    "Металл, м", "Масса, кг",
                                     "Узлы", "Покраска, м²", "Цена"};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString Metres(long long millimetres) {
    return Q(estimate::MetreText(millimetres));
}

} // namespace

EstimateWindow::EstimateWindow(PriceListStore& store, Messenger& messenger)
    : QWidget(nullptr, Qt::Window), store_(store), messenger_(messenger) {
    setObjectName(QStringLiteral("frmEstimate"));
    setWindowTitle(QStringLiteral("Смета"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    for (const PriceRow& row : PriceRows) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(row.name));
        form->addRow(QString::fromUtf8(row.caption), box);
        priceBoxes_.push_back(box);
    }
    layout->addLayout(form);
    grilleTable_ = new QTableWidget(0, std::size(GrilleColumns), this);
    grilleTable_->setObjectName(QStringLiteral("tblGrilles"));
    grilleTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grilleTable_->verticalHeader()->hide();
    QStringList headers;
    for (const char* column : GrilleColumns)
        headers << QString::fromUtf8(column);
    grilleTable_->setHorizontalHeaderLabels(headers);
    layout->addWidget(grilleTable_, 1);
    totalsLabel_ = new QLabel(this);
    totalsLabel_->setObjectName(QStringLiteral("lblTotals"));
    totalsLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(totalsLabel_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    workbookButton_ = new QPushButton(QStringLiteral("Сохранить в Excel"), this);
    workbookButton_->setObjectName(QStringLiteral("cmdSaveExcel"));
    csvButton_ = new QPushButton(QStringLiteral("Сохранить CSV"), this);
    csvButton_->setObjectName(QStringLiteral("cmdSaveCsv"));
    printButton_ = new QPushButton(QStringLiteral("Печать"), this);
    printButton_->setObjectName(QStringLiteral("cmdPrint"));
    for (QPushButton* button : {workbookButton_, csvButton_, printButton_})
        buttons->addWidget(button);
    layout->addLayout(buttons);
    resize(720, 560);
    ConnectHandlers();
    ShowPrices();
    Recompute();
}

// A price box that has the focus when the window goes loses it while the
// boxes are being deleted, and its editingFinished would then read them.
EstimateWindow::~EstimateWindow() {
    for (QLineEdit* box : priceBoxes_)
        disconnect(box, nullptr, this, nullptr);
}

void EstimateWindow::ConnectHandlers() {
    for (QLineEdit* box : priceBoxes_)
        ConnectHandler(box, &QLineEdit::editingFinished, this, messenger_,
                       &EstimateWindow::StoreTypedPrices);
    ConnectHandler(printButton_, &QPushButton::clicked, this, messenger_,
                   &EstimateWindow::PrintQuote);
    ConnectHandler(workbookButton_, &QPushButton::clicked, this, messenger_,
                   &EstimateWindow::SaveWorkbook);
    ConnectHandler(csvButton_, &QPushButton::clicked, this, messenger_, &EstimateWindow::SaveCsv);
}

void EstimateWindow::SetBuild(const model::Order& built, const QString& orderNumber) {
    built_ = built;
    orderNumber_ = orderNumber;
    plan_.reset();
    Recompute();
}

void EstimateWindow::SetPlan(std::optional<Plan> plan) {
    plan_ = plan;
    Recompute();
}

QString EstimateWindow::PriceText() const {
    return result_.ok ? Q(estimate::MoneyText(result_.estimate.price)) : QString();
}

// Takes every price typed that differs from the one in use; a refused one
// is told and put back as it was, the others are kept and saved.
void EstimateWindow::StoreTypedPrices() {
    estimate::PriceList prices = store_.Prices();
    QString refused;
    for (size_t k = 0; k < PriceRows.size(); ++k) {
        const std::string typed = priceBoxes_[k]->text().toStdString();
        const std::string error = estimate::SetField(prices, PriceRows[k].field, typed);
        if (!error.empty() && refused.isEmpty())
            refused = Q(error);
    }
    const bool changed = !(prices == store_.Prices());
    QString saveError;
    if (changed && !store_.Save(prices, saveError))
        messenger_.Error(this, saveError);
    ShowPrices();
    if (!refused.isEmpty())
        messenger_.Error(this, refused);
    if (changed)
        Recompute();
}

void EstimateWindow::PrintQuote() {
    if (!result_.ok) {
        messenger_.Error(this, Q(result_.error));
        return;
    }
    PrintOrSavePdf(this, messenger_,
                   QuoteJob(built_, orderNumber_, result_.estimate, QDate::currentDate()));
}

std::vector<sheets::Sheet> EstimateWindow::Sheets() {
    if (!result_.ok) {
        messenger_.Error(this, Q(result_.error));
        return {};
    }
    std::vector<sheets::Sheet> book = {sheets::GrillesSheet(built_), sheets::CutsSheet(built_)};
    if (plan_)
        book.push_back(plan_->sheet);
    book.push_back(sheets::EstimateSheet(built_, store_.Prices(), result_.estimate));
    return book;
}

void EstimateWindow::SaveWorkbook() {
    const std::vector<sheets::Sheet> book = Sheets();
    if (!book.empty())
        ::SaveWorkbook(this, messenger_, OrderFileStem(orderNumber_), book);
}

void EstimateWindow::SaveCsv() {
    const std::vector<sheets::Sheet> book = Sheets();
    if (!book.empty())
        ::SaveCsv(this, messenger_, OrderFileStem(orderNumber_), book);
}

std::optional<estimate::BoughtMetal> EstimateWindow::Bought() const {
    if (!plan_ || built_.GrilleCount <= 0)
        return std::nullopt;
    const model::int16 barSize = built_.GrilleAt(1).q;
    for (int i = 2; i <= built_.GrilleCount; ++i)
        if (built_.GrilleAt(i).q != barSize)
            return std::nullopt;
    return estimate::BoughtMetal{plan_->length, barSize};
}

void EstimateWindow::Recompute() {
    result_ = built_.GrilleCount > 0
                  ? estimate::EstimateOrder(built_, store_.Prices(), Bought())
                  : estimate::Result{false, "Смета появится после «Создать отчёт».", {}};
    ShowGrilles();
    ShowTotals();
    emit PriceChanged();
}

void EstimateWindow::ShowPrices() {
    for (size_t k = 0; k < PriceRows.size(); ++k)
        priceBoxes_[k]->setText(
            Q(estimate::FieldText(estimate::FieldValue(store_.Prices(), PriceRows[k].field))));
}

void EstimateWindow::ShowGrilles() {
    const auto& grilles = result_.estimate.grilles;
    grilleTable_->setRowCount(static_cast<int>(grilles.size()));
    for (size_t k = 0; k < grilles.size(); ++k) {
        const estimate::GrilleEstimate& e = grilles[k];
        const model::Grille& g = built_.GrilleAt(static_cast<long long>(k) + 1);
        const QString cells[] = {
            QString::number(k + 1),
            QStringLiteral("%1 × %2").arg(g.B).arg(g.H),
            Metres(e.length),
            Q(estimate::KilogramText(e.mass)),
            QString::number(e.joints),
            Q(estimate::SquareMetreText(e.paintedArea)),
            Q(estimate::MoneyText(e.price)),
        };
        for (int c = 0; c < static_cast<int>(std::size(cells)); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grilleTable_->setItem(static_cast<int>(k), c, item);
        }
    }
    grilleTable_->resizeColumnsToContents();
}

void EstimateWindow::ShowTotals() {
    if (!result_.ok) {
        totalsLabel_->setText(Q(result_.error));
        return;
    }
    const estimate::OrderEstimate& e = result_.estimate;
    const estimate::Costs c = estimate::CostsOf(e, store_.Prices());
    QString basis = QStringLiteral("детали и припуск %1 %")
                        .arg(Q(estimate::FieldText(store_.Prices().wasteAllowance)));
    if (e.basis == estimate::MetalBasis::CuttingPlan)
        basis = QStringLiteral("по раскрою: прутков %1, %2 м")
                    .arg(plan_->bars)
                    .arg(Metres(plan_->length));
    else if (plan_)
        basis += QStringLiteral("; раскрой не учтён: решетки из прутка разного размера");
    QStringList lines;
    lines << QStringLiteral("Металл деталей: %1 м, %2 кг; к оплате %3 кг (%4)")
                 .arg(Metres(e.length), Q(estimate::KilogramText(e.mass)),
                      Q(estimate::PaidKilogramText(e.paidMass)), basis)
          << QStringLiteral("Металл: %1; сварка (%2 узлов): %3; решетки (%4 м²): %5; "
                            "покраска (%6 м²): %7")
                 .arg(Q(estimate::MoneyText(c.metal)))
                 .arg(e.joints)
                 .arg(Q(estimate::MoneyText(c.joints)), Q(estimate::SquareMetreText(e.area)),
                      Q(estimate::MoneyText(c.area)), Q(estimate::SquareMetreText(e.paintedArea)),
                      Q(estimate::MoneyText(c.paint)))
          << QStringLiteral("Наценка: %1").arg(Q(estimate::MoneyText(c.markup)))
          << QStringLiteral("Итого: %1").arg(PriceText());
    totalsLabel_->setText(lines.join(QLatin1Char('\n')));
}
