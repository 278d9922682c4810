#include "main_window.h"

#include "model/numbers.h"
#include "stock/stock_store.h"
#include "views/correction/correction_dialog.h"
#include "views/cutting/cutting_window.h"
#include "views/estimate/estimate_window.h"
#include "views/estimate/price_list_store.h"
#include "views/picture/grille_picture.h"
#include "views/report/material_window.h"
#include "views/report/report_page_window.h"
#include "views/stock/stock_window.h"
#include "widgets/click_area.h"
#include "widgets/controls.h"
#include "widgets/engraved_line.h"
#include "widgets/layout_table.h"
#include "widgets/spinner.h"
#include "widgets/twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

MainWindow::MainWindow(model::Order& order, Messenger& messenger, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      order_(order), messenger_(messenger), programFolder_(QCoreApplication::applicationDirPath()),
      priceList_(std::make_unique<PriceListStore>()), correction_([this] {
          auto* dialog = new CorrectionDialog(*this);
          // A fresh dialog would otherwise hold its empty start texts, which
          // the next move of a scroll bar would write into the current grille.
          dialog->Prime();
          return dialog;
      }),
      reportPage_([] { return new ReportPageWindow(); }),
      materials_([] { return new MaterialWindow(); }), cutting_([this] {
          auto* window = new CuttingWindow(messenger_, Stock());
          ConnectHandler(window, &CuttingWindow::PlanShown, this, messenger_,
                         &MainWindow::PricePlan);
          ConnectHandler(window, &CuttingWindow::StockWanted, this, messenger_,
                         &MainWindow::ShowStock);
          ConnectHandler(window, &CuttingWindow::StockChanged, this, messenger_,
                         &MainWindow::RefreshStock);
          return window;
      }),
      estimate_([this] {
          auto* window = new EstimateWindow(*priceList_, messenger_);
          ConnectHandler(window, &EstimateWindow::PriceChanged, this, messenger_,
                         &MainWindow::ShowPrice);
          return window;
      }),
      stockWindow_([this] { return new StockWindow(*stock_, messenger_); }) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Расчёт параметров решетчатых изделий (Ларвинк)"));
    setFixedSize(Px(10920), Px(7200));

    BuildControls();
    SetUpPriceBox();
    ConnectHandlers();
    Start();
}

// The secondary windows refer to this window; they go with it.
MainWindow::~MainWindow() = default;

namespace {

constexpr auto Frame = ControlKind::Frame;
constexpr auto Label = ControlKind::Label;
constexpr auto Box = ControlKind::Box;
constexpr auto Locked = ControlKind::LockedBox;
constexpr auto Button = ControlKind::Button;
constexpr auto Made = ControlKind::Made;

// clang-format off
const ControlRow Layout[] = {
    // name             kind    parent        caption                 left   top  width height tab  tip, enabled
    {"fraOrder",        Frame,  nullptr,      "Свойства заказа",       120,   120, 2415, 2295},
    {"Label16",         Label,  "fraOrder",   "Номер",                 120,   270,    0,    0},
    {"txtONumber",      Box,    "fraOrder",   "",                     1320,   240,  975,  285, 21},
    {"Label17",         Label,  "fraOrder",   "Стоимость",             120,   630,    0,    0,  0, nullptr, false},
    {"txtOPrice",       Box,    "fraOrder",   "",                     1320,   600,  975,  285, 22, nullptr, false},
    {"cmdONew",         Button, "fraOrder",   "Новый",                1320,   960,  975,  375, 24},
    {"cmdOOpen",        Button, "fraOrder",   "Открыть",              1320,  1335,  975,  375, 23, nullptr, false},
    {"cmdOSave",        Button, "fraOrder",   "Сохранить",            1320,  1710,  975,  375, 25, nullptr, false},
    {"Image1",          Made,   "fraOrder",   nullptr,                   0,  2040,  255,  255},
    {"Picture1",        Made,   nullptr,      nullptr,                2640,   120, 3375, 2295, 26},

    {"frmParam",        Frame,  nullptr,      "Параметры проёма",     6120,     0, 4695, 2415},
    {"Label1",          Label,  "frmParam",   "Количество",            120,   300,    0,    0},
    {"txtCount",        Box,    "frmParam",   "0",                    1440,   240,  495,  285,  1, "Количество проёмов"},
    {"vsrCount",        Made,   "frmParam",   nullptr,                1920,   240,  255,  285,  2},
    {"Label2",          Label,  "frmParam",   "Номер",                 120,   660,    0,    0},
    {"txtNumber",       Box,    "frmParam",   "1",                    1440,   600,  495,  285,  3, "Номер проёма"},
    {"vsrNumber",       Made,   "frmParam",   nullptr,                1920,   600,  255,  285,  4},
    {"cmdToAll",        Button, "frmParam",   "",                     2040,   960,  135,  135, 19,
     "Применить текущие параметры ко всем проёмам"},
    {"Label3",          Label,  "frmParam",   "Ширина",                120,  1620,    0,    0},
    {"txtWidth",        Box,    "frmParam",   "0",                    1440,  1560,  735,  285,  5},
    {"Label4",          Label,  "frmParam",   "Высота",                120,  1980,  615,  255},
    {"txtHeight",       Box,    "frmParam",   "0",                    1440,  1920,  735,  285,  6},
    {"Label6",          Label,  "frmParam",   "Зазор сверху",         2520,   270,    0,    0},
    {"txtZTop",         Box,    "frmParam",   "0",                    3840,   240,  735,  285,  7},
    {"Label7",          Label,  "frmParam",   "Зазор снизу",          2520,   630,    0,    0},
    {"txtZDown",        Box,    "frmParam",   "0",                    3840,   600,  735,  285,  8},
    {"Label8",          Label,  "frmParam",   "Зазор боковой",        2520,   990,    0,    0},
    {"txtZLeft",        Box,    "frmParam",   "0",                    3840,   960,  735,  285,  9},
    {"Label9",          Label,  "frmParam",   "Квадрат",              2520,  1590,  855,  255},
    {"txtQuadro",       Box,    "frmParam",   "14",                   3840,  1560,  735,  285, 10},
    {"cmdOK",           Button, "frmParam",   "ОК",                   2880,  1920, 1695,  375, 11, "Расчитать решетки"},
    {"lineVertical",    Made,   "frmParam",   nullptr,                2325,   240,   30, 2040},
    {"lineHorizontal",  Made,   "frmParam",   nullptr,                 120,  1380, 4440,   30},

    {"fraGrating",      Frame,  nullptr,      "Размеры решёток",       120,  2520, 7215, 4575},
    {"lstReport1",      Made,   "fraGrating", nullptr,                 120,   240, 6975, 3735, 28},
    // The two report buttons belong to the window and sit over the frame.
    {"cmdCreate",       Button, nullptr,      "Создать отчёт",         240,  6600, 1695,  375, 29, nullptr, false},
    {"cmdPrint",        Button, nullptr,      "Печать отчёта",        2040,  6600, 1695,  375, 27, nullptr, false},

    {"frmOut",          Frame,  nullptr,      "Параметры решетки",    7440,  2520, 3375, 3015},
    {"Label15",         Label,  "frmOut",     "Номер",                 120,   270,    0,    0},
    {"txtPNumber",      Locked, "frmOut",     "1",                    2520,   240,  495,  285, 17},
    {"vsrPNumber",      Made,   "frmOut",     nullptr,                3000,   240,  255,  285, 18},
    {"Label10",         Label,  "frmOut",     "Ширина",                120,   630,    0,    0},
    {"txtPWidth",       Locked, "frmOut",     nullptr,                2520,   600,  735,  285, 12},
    {"Label11",         Label,  "frmOut",     "Высота",                120,   990,  975,  255},
    {"txtPHeight",      Locked, "frmOut",     nullptr,                2520,   960,  735,  285, 13},
    {"Label12",         Label,  "frmOut",     "Шаг",                   120,  1350, 1095,  255},
    {"txtPStep",        Locked, "frmOut",     nullptr,                2520,  1320,  735,  285, 14},
    {"Label14",         Label,  "frmOut",     "Количество шагов",      120,  1710,    0,    0},
    {"txtPStepCount",   Locked, "frmOut",     nullptr,                2520,  1680,  735,  285, 15},
    {"Label13",         Label,  "frmOut",     "Размер вставок",        120,  2070,    0,    0},
    {"txtPAdd",         Locked, "frmOut",     nullptr,                2520,  2040,  735,  285, 16},
    {"cmdChange",       Button, "frmOut",     "Корректировка",        1560,  2520, 1695,  375, 20, nullptr, false},

    {"fraSux",          Frame,  nullptr,      "Расход материалов",    7440,  5640, 3375, 1455},
    {"lblLength",       Label,  "fraSux",     "Длина плети",           120,   240, 1815,  255},
    {"txtLen",          Box,    "fraSux",     "11750",                2520,   240,  735,  285, 30},
    {"cmdShow",         Button, "fraSux",     "Показать",             1560,   600, 1695,  375, 31, nullptr, false},
    {"cmdOptimize",     Button, "fraSux",     "Оптимизировать",       1560,   975, 1695,  375, 32, nullptr, false},
};
// clang-format on

ControlMaker VerticalSpinner(int min, int max, int value, const char* accessibleName) {
    return [=](QWidget* parent) {
        return MakeSpinner(parent, "", Qt::Vertical, min, max, value,
                           QString::fromUtf8(accessibleName));
    };
}

QTreeWidget* MakeGrilleList(QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setAccessibleName(QStringLiteral("Размеры решёток"));
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setHeaderLabels({
        QStringLiteral("N"),
        QStringLiteral("Ширина проёма"),
        QStringLiteral("Высота проёма"),
        QStringLiteral("Зазор сверху"),
        QStringLiteral("Зазор снизу"),
        QStringLiteral("Шаг (t)"),
        QStringLiteral("Количество шагов (n)"),
        QStringLiteral("Ширина решетки (B)"),
        QStringLiteral("Высота решетки (H)"),
        QStringLiteral("Размер боковых вставок (b)"),
        QStringLiteral("Боковые зазоры"),
        QStringLiteral("Площадь (S)"),
    });
    list->header()->setStretchLastSection(false);
    // Twelve columns of equal width; a header's full text shows as its tip.
    const int columnWidth = Px(6975 - 60) / 12;
    for (int c = 0; c < 12; ++c) {
        list->setColumnWidth(c, columnWidth);
        list->headerItem()->setToolTip(c, list->headerItem()->text(c));
    }
    return list;
}

} // namespace

void MainWindow::BuildControls() {
    const Controls c(
        this, Layout,
        {{"Image1", [](QWidget* parent) { return new ClickArea(parent); }},
         {"Picture1",
          [](QWidget* parent) {
              auto* picture = new GrillePicture(parent);
              picture->setAccessibleName(QStringLiteral("Чертёж решётки"));
              return picture;
          }},
         {"vsrCount", VerticalSpinner(60, 0, 1, "Количество проёмов")},
         {"vsrNumber", VerticalSpinner(1, 1, 1, "Номер проёма")},
         // The grille number never leaves 1..60: before the first calculation
         // the spinner cannot move.
         {"vsrPNumber", VerticalSpinner(1, 1, 1, "Номер решётки")},
         {"lineVertical", [](QWidget* parent) { return new EngravedLine(Qt::Vertical, parent); }},
         {"lineHorizontal",
          [](QWidget* parent) { return new EngravedLine(Qt::Horizontal, parent); }},
         {"lstReport1", MakeGrilleList}});
    orderNumberBox_ = c.Get<QLineEdit>("txtONumber");
    newOrderButton_ = c.Get<QPushButton>("cmdONew");
    openOrderButton_ = c.Get<QPushButton>("cmdOOpen");
    saveOrderButton_ = c.Get<QPushButton>("cmdOSave");
    priceLabel_ = c.Get<QLabel>("Label17");
    priceBox_ = c.Get<QLineEdit>("txtOPrice");
    greetingArea_ = c.Get<ClickArea>("Image1");
    picture_ = c.Get<GrillePicture>("Picture1");
    openingCountBox_ = c.Get<QLineEdit>("txtCount");
    openingCountSpinner_ = c.Get<Spinner>("vsrCount");
    openingNumberBox_ = c.Get<QLineEdit>("txtNumber");
    openingNumberSpinner_ = c.Get<Spinner>("vsrNumber");
    applyToAllButton_ = c.Get<QPushButton>("cmdToAll");
    applyToAllButton_->setAccessibleName(applyToAllButton_->toolTip());
    openingWidthBox_ = c.Get<QLineEdit>("txtWidth");
    openingHeightBox_ = c.Get<QLineEdit>("txtHeight");
    topGapBox_ = c.Get<QLineEdit>("txtZTop");
    bottomGapBox_ = c.Get<QLineEdit>("txtZDown");
    sideGapBox_ = c.Get<QLineEdit>("txtZLeft");
    barSizeBox_ = c.Get<QLineEdit>("txtQuadro");
    calculateButton_ = c.Get<QPushButton>("cmdOK");
    grilleList_ = c.Get<QTreeWidget>("lstReport1");
    buildReportButton_ = c.Get<QPushButton>("cmdCreate");
    printReportButton_ = c.Get<QPushButton>("cmdPrint");
    grilleNumberBox_ = c.Get<QLineEdit>("txtPNumber");
    grilleNumberSpinner_ = c.Get<Spinner>("vsrPNumber");
    grilleWidthBox_ = c.Get<QLineEdit>("txtPWidth");
    grilleHeightBox_ = c.Get<QLineEdit>("txtPHeight");
    grilleStepBox_ = c.Get<QLineEdit>("txtPStep");
    grilleStepCountBox_ = c.Get<QLineEdit>("txtPStepCount");
    grilleInsertBox_ = c.Get<QLineEdit>("txtPAdd");
    correctionButton_ = c.Get<QPushButton>("cmdChange");
    stockLengthBox_ = c.Get<QLineEdit>("txtLen");
    showMaterialsButton_ = c.Get<QPushButton>("cmdShow");
    optimizeButton_ = c.Get<QPushButton>("cmdOptimize");
    openingCountBox_->setFocus();
}

void MainWindow::ConnectHandlers() {
    auto onText = [this](QLineEdit* box, void (MainWindow::*handler)()) {
        ConnectHandler(box, &QLineEdit::textChanged, this, messenger_, handler);
    };
    auto onSpin = [this](Spinner* spinner, void (MainWindow::*handler)()) {
        ConnectHandler(spinner, &Spinner::Change, this, messenger_, handler);
    };
    auto onClick = [this](QPushButton* button, void (MainWindow::*handler)()) {
        ConnectHandler(button, &QPushButton::clicked, this, messenger_, handler);
    };

    onSpin(openingCountSpinner_, &MainWindow::ShowSpunCount);
    onText(openingCountBox_, &MainWindow::FitOpeningNumberToCount);
    onSpin(openingNumberSpinner_, &MainWindow::ShowSpunOpeningNumber);
    onText(openingNumberBox_, &MainWindow::ShowOpening);
    onText(openingWidthBox_, &MainWindow::StoreOpeningWidth);
    onText(openingHeightBox_, &MainWindow::StoreOpeningHeight);
    onText(topGapBox_, &MainWindow::StoreTopGap);
    onText(bottomGapBox_, &MainWindow::StoreBottomGap);
    onText(sideGapBox_, &MainWindow::StoreSideGap);
    onText(barSizeBox_, &MainWindow::StoreBarSize);
    onClick(applyToAllButton_, &MainWindow::ApplyToAllOpenings);
    onClick(calculateButton_, &MainWindow::CalculateAll);

    onText(grilleNumberBox_, &MainWindow::ShowCurrentGrille);
    onSpin(grilleNumberSpinner_, &MainWindow::ShowSpunGrilleNumber);
    onText(grilleWidthBox_, &MainWindow::RefreshGrille);
    onClick(correctionButton_, &MainWindow::ToggleCorrection);

    ConnectHandler(greetingArea_, &ClickArea::clicked, this, messenger_, &MainWindow::Greet);

    onClick(buildReportButton_, &MainWindow::BuildReport);
    // A separate operation: a build that stopped half-way still re-plans.
    onClick(buildReportButton_, &MainWindow::ReplanAfterBuild);
    onClick(showMaterialsButton_, &MainWindow::ShowMaterials);
    onClick(printReportButton_, &MainWindow::PrintReport);
    onClick(optimizeButton_, &MainWindow::PlanCutting);
    onClick(buildReportButton_, &MainWindow::PriceBuild);

    onClick(newOrderButton_, &MainWindow::NewOrder);
    onClick(openOrderButton_, &MainWindow::OpenOrder);
    onClick(saveOrderButton_, &MainWindow::SaveOrder);
    onText(orderNumberBox_, &MainWindow::OnOrderNumberTyped);
}

model::int16 MainWindow::CurrentGrille() const {
    return static_cast<model::int16>(model::ToIndex(BoxValue(grilleNumberBox_)));
}

CorrectionDialog& MainWindow::Correction() {
    return correction_.Get();
}
ReportPageWindow& MainWindow::ReportPage() {
    return reportPage_.Get();
}
MaterialWindow& MainWindow::Materials() {
    return materials_.Get();
}
CuttingWindow& MainWindow::Cutting() {
    return cutting_.Get();
}
EstimateWindow& MainWindow::Estimate() {
    return estimate_.Get();
}
bool MainWindow::HasCorrection() const {
    return correction_.Existing() != nullptr;
}
bool MainWindow::HasMaterials() const {
    return materials_.Existing() != nullptr;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program at once: no question, nothing
    // saved, every other window goes with it.
    event->accept();
    correction_.Close();
    materials_.Close();
    cutting_.Close();
    estimate_.Close();
    stockWindow_.Close();
    QCoreApplication::quit();
}
