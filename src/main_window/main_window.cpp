#include "main_window.h"

#include "model/numbers.h"
#include "views/correction/correction_dialog.h"
#include "views/cutting/cutting_window.h"
#include "views/picture/grille_picture.h"
#include "views/report/material_window.h"
#include "views/report/report_page_window.h"
#include "widgets/click_area.h"
#include "widgets/controls.h"
#include "widgets/engraved_line.h"
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
      correction_([this] {
          auto* dialog = new CorrectionDialog(*this);
          // A fresh dialog would otherwise hold its empty start texts, which
          // the next move of a scroll bar would write into the current grille.
          dialog->Prime();
          return dialog;
      }),
      reportPage_([] { return new ReportPageWindow(); }),
      materials_([] { return new MaterialWindow(); }),
      cutting_([this] { return new CuttingWindow(messenger_); }) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Расчёт параметров решетчатых изделий (Ларвинк)"));
    setFixedSize(Px(10920), Px(7200));

    CreateOrderFrame();
    Picture1 = new GrillePicture(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAccessibleName(QStringLiteral("Чертёж решётки"));
    Place(Picture1, 2640, 120, 3375, 2295);
    CreateOpeningPanel();
    CreateGrillesFrame();
    CreateGrillePanel();
    CreateMaterialFrame();
    SetTabOrder();
    ConnectHandlers();
    Form_Load();
}

// The secondary windows refer to this window; they go with it.
MainWindow::~MainWindow() = default;

void MainWindow::CreateOpeningPanel() {
    frmParam = MakeFrame(this, "frmParam", "Параметры проёма");
    Place(frmParam, 6120, 0, 4695, 2415);
    QWidget* f = frmParam;

    Label1 = MakeLabel(f, "Label1", "Количество");
    txtCount = MakeBox(f, "txtCount", "0", Label1);
    txtCount->setToolTip(QStringLiteral("Количество проёмов"));
    vsrCount =
        MakeSpinner(f, "vsrCount", Qt::Vertical, 60, 0, 1, QStringLiteral("Количество проёмов"));
    Label2 = MakeLabel(f, "Label2", "Номер");
    txtNumber = MakeBox(f, "txtNumber", "1", Label2);
    txtNumber->setToolTip(QStringLiteral("Номер проёма"));
    vsrNumber = MakeSpinner(f, "vsrNumber", Qt::Vertical, 1, 1, 1, QStringLiteral("Номер проёма"));
    cmdToAll = MakeButton(f, "cmdToAll", "");
    cmdToAll->setToolTip(QStringLiteral("Применить текущие параметры ко всем проёмам"));
    cmdToAll->setAccessibleName(cmdToAll->toolTip());
    Label3 = MakeLabel(f, "Label3", "Ширина");
    txtWidth = MakeBox(f, "txtWidth", "0", Label3);
    Label4 = MakeLabel(f, "Label4", "Высота");
    txtHeight = MakeBox(f, "txtHeight", "0", Label4);
    Label6 = MakeLabel(f, "Label6", "Зазор сверху");
    txtZTop = MakeBox(f, "txtZTop", "0", Label6);
    Label7 = MakeLabel(f, "Label7", "Зазор снизу");
    txtZDown = MakeBox(f, "txtZDown", "0", Label7);
    Label8 = MakeLabel(f, "Label8", "Зазор боковой");
    txtZLeft = MakeBox(f, "txtZLeft", "0", Label8);
    Label9 = MakeLabel(f, "Label9", "Квадрат");
    txtQuadro = MakeBox(f, "txtQuadro", "14", Label9);
    cmdOK = MakeButton(f, "cmdOK", "ОК");
    cmdOK->setToolTip(QStringLiteral("Расчитать решетки"));

    PlaceAt(Label1, 120, 300);
    Place(txtCount, 1440, 240, 495, 285);
    Place(vsrCount, 1920, 240, 255, 285);
    PlaceAt(Label2, 120, 660);
    Place(txtNumber, 1440, 600, 495, 285);
    Place(vsrNumber, 1920, 600, 255, 285);
    Place(cmdToAll, 2040, 960, 135, 135);
    PlaceAt(Label3, 120, 1620);
    Place(txtWidth, 1440, 1560, 735, 285);
    Place(Label4, 120, 1980, 615, 255);
    Place(txtHeight, 1440, 1920, 735, 285);
    PlaceAt(Label6, 2520, 270);
    Place(txtZTop, 3840, 240, 735, 285);
    PlaceAt(Label7, 2520, 630);
    Place(txtZDown, 3840, 600, 735, 285);
    PlaceAt(Label8, 2520, 990);
    Place(txtZLeft, 3840, 960, 735, 285);
    Place(Label9, 2520, 1590, 855, 255);
    Place(txtQuadro, 3840, 1560, 735, 285);
    Place(cmdOK, 2880, 1920, 1695, 375);

    lineVertical = new EngravedLine(Qt::Vertical, f);
    lineVertical->setObjectName(QStringLiteral("lineVertical"));
    Place(lineVertical, 2325, 240, 30, 2040);
    lineHorizontal = new EngravedLine(Qt::Horizontal, f);
    lineHorizontal->setObjectName(QStringLiteral("lineHorizontal"));
    Place(lineHorizontal, 120, 1380, 4440, 30);
}

void MainWindow::CreateGrillePanel() {
    frmOut = MakeFrame(this, "frmOut", "Параметры решетки");
    Place(frmOut, 7440, 2520, 3375, 3015);
    QWidget* f = frmOut;

    Label15 = MakeLabel(f, "Label15", "Номер");
    txtPNumber = MakeLockedBox(f, "txtPNumber", Label15);
    txtPNumber->setText(QStringLiteral("1"));
    // The grille number never leaves 1..60: before the first calculation
    // the spinner cannot move.
    vsrPNumber =
        MakeSpinner(f, "vsrPNumber", Qt::Vertical, 1, 1, 1, QStringLiteral("Номер решётки"));
    Label10 = MakeLabel(f, "Label10", "Ширина");
    txtPWidth = MakeLockedBox(f, "txtPWidth", Label10);
    Label11 = MakeLabel(f, "Label11", "Высота");
    txtPHeight = MakeLockedBox(f, "txtPHeight", Label11);
    Label12 = MakeLabel(f, "Label12", "Шаг");
    txtPStep = MakeLockedBox(f, "txtPStep", Label12);
    Label14 = MakeLabel(f, "Label14", "Количество шагов");
    txtPStepCount = MakeLockedBox(f, "txtPStepCount", Label14);
    Label13 = MakeLabel(f, "Label13", "Размер вставок");
    txtPAdd = MakeLockedBox(f, "txtPAdd", Label13);
    cmdChange = MakeButton(f, "cmdChange", "Корректировка");
    cmdChange->setEnabled(false);

    PlaceAt(Label15, 120, 270);
    Place(txtPNumber, 2520, 240, 495, 285);
    Place(vsrPNumber, 3000, 240, 255, 285);
    PlaceAt(Label10, 120, 630);
    Place(txtPWidth, 2520, 600, 735, 285);
    Place(Label11, 120, 990, 975, 255);
    Place(txtPHeight, 2520, 960, 735, 285);
    Place(Label12, 120, 1350, 1095, 255);
    Place(txtPStep, 2520, 1320, 735, 285);
    PlaceAt(Label14, 120, 1710);
    Place(txtPStepCount, 2520, 1680, 735, 285);
    PlaceAt(Label13, 120, 2070);
    Place(txtPAdd, 2520, 2040, 735, 285);
    Place(cmdChange, 1560, 2520, 1695, 375);
}

void MainWindow::CreateOrderFrame() {
    fraOrder = MakeFrame(this, "fraOrder", "Свойства заказа");
    Place(fraOrder, 120, 120, 2415, 2295);
    QWidget* f = fraOrder;

    Label16 = MakeLabel(f, "Label16", "Номер");
    txtONumber = MakeBox(f, "txtONumber", "", Label16);
    Label17 = MakeLabel(f, "Label17", "Стоимость");
    Label17->setEnabled(false);
    txtOPrice = MakeBox(f, "txtOPrice", "", Label17);
    txtOPrice->setEnabled(false);
    cmdONew = MakeButton(f, "cmdONew", "Новый");
    cmdOOpen = MakeButton(f, "cmdOOpen", "Открыть");
    cmdOOpen->setEnabled(false);
    cmdOSave = MakeButton(f, "cmdOSave", "Сохранить");
    cmdOSave->setEnabled(false);
    Image1 = new ClickArea(f);
    Image1->setObjectName(QStringLiteral("Image1"));

    PlaceAt(Label16, 120, 270);
    Place(txtONumber, 1320, 240, 975, 285);
    PlaceAt(Label17, 120, 630);
    Place(txtOPrice, 1320, 600, 975, 285);
    Place(cmdONew, 1320, 960, 975, 375);
    Place(cmdOOpen, 1320, 1335, 975, 375);
    Place(cmdOSave, 1320, 1710, 975, 375);
    Place(Image1, 0, 2040, 255, 255);
}

void MainWindow::CreateGrillesFrame() {
    fraGrating = MakeFrame(this, "fraGrating", "Размеры решёток");
    Place(fraGrating, 120, 2520, 7215, 4575);

    lstReport1 = new QTreeWidget(fraGrating);
    lstReport1->setObjectName(QStringLiteral("lstReport1"));
    lstReport1->setAccessibleName(QStringLiteral("Размеры решёток"));
    lstReport1->setRootIsDecorated(false);
    lstReport1->setUniformRowHeights(true);
    lstReport1->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstReport1->setHeaderLabels({
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
    lstReport1->header()->setStretchLastSection(false);
    Place(lstReport1, 120, 240, 6975, 3735);
    // Twelve columns of equal width; a header's full text shows as its tip.
    const int columnWidth = Px(6975 - 60) / 12;
    for (int c = 0; c < 12; ++c) {
        lstReport1->setColumnWidth(c, columnWidth);
        lstReport1->headerItem()->setToolTip(c, lstReport1->headerItem()->text(c));
    }

    // The two report buttons belong to the window and sit over the frame.
    cmdCreate = MakeButton(this, "cmdCreate", "Создать отчёт");
    cmdCreate->setEnabled(false);
    Place(cmdCreate, 240, 6600, 1695, 375);
    cmdPrint = MakeButton(this, "cmdPrint", "Печать отчёта");
    cmdPrint->setEnabled(false);
    Place(cmdPrint, 2040, 6600, 1695, 375);
}

void MainWindow::CreateMaterialFrame() {
    fraSux = MakeFrame(this, "fraSux", "Расход материалов");
    Place(fraSux, 7440, 5640, 3375, 1455);
    QWidget* f = fraSux;

    lblLength = MakeLabel(f, "lblLength", "Длина плети");
    txtLen = MakeBox(f, "txtLen", "11750", lblLength);
    cmdShow = MakeButton(f, "cmdShow", "Показать");
    cmdShow->setEnabled(false);
    cmdOptimize = MakeButton(f, "cmdOptimize", "Оптимизировать");
    cmdOptimize->setEnabled(false);

    Place(lblLength, 120, 240, 1815, 255);
    Place(txtLen, 2520, 240, 735, 285);
    Place(cmdShow, 1560, 600, 1695, 375);
    Place(cmdOptimize, 1560, 975, 1695, 375);
}

void MainWindow::SetTabOrder() {
    // The order of the layout's tab indexes; labels and frames take no focus,
    // disabled controls are skipped by Qt until they are enabled.
    QWidget* order[] = {
        txtCount,      vsrCount, txtNumber,  vsrNumber,   txtWidth,  txtHeight,  txtZTop,
        txtZDown,      txtZLeft, txtQuadro,  cmdOK,       txtPWidth, txtPHeight, txtPStep,
        txtPStepCount, txtPAdd,  txtPNumber, vsrPNumber,  cmdToAll,  cmdChange,  txtONumber,
        txtOPrice,     cmdOOpen, cmdONew,    cmdOSave,    Picture1,  cmdPrint,   lstReport1,
        cmdCreate,     txtLen,   cmdShow,    cmdOptimize,
    };
    for (std::size_t k = 1; k < std::size(order); ++k)
        QWidget::setTabOrder(order[k - 1], order[k]);
    txtCount->setFocus();
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

    onSpin(vsrCount, &MainWindow::vsrCount_Change);
    onText(txtCount, &MainWindow::txtCount_Change);
    onSpin(vsrNumber, &MainWindow::vsrNumber_Change);
    onText(txtNumber, &MainWindow::txtNumber_Change);
    onText(txtWidth, &MainWindow::txtWidth_Change);
    onText(txtHeight, &MainWindow::txtHeight_Change);
    onText(txtZTop, &MainWindow::txtZTop_Change);
    onText(txtZDown, &MainWindow::txtZDown_Change);
    onText(txtZLeft, &MainWindow::txtZLeft_Change);
    onText(txtQuadro, &MainWindow::txtQuadro_Change);
    onClick(cmdToAll, &MainWindow::cmdToAll_Click);
    onClick(cmdOK, &MainWindow::cmdOK_Click);

    onText(txtPNumber, &MainWindow::txtPNumber_Change);
    onSpin(vsrPNumber, &MainWindow::vsrPNumber_Change);
    onText(txtPWidth, &MainWindow::txtPWidth_Change);
    onClick(cmdChange, &MainWindow::cmdChange_Click);

    ConnectHandler(Image1, &ClickArea::clicked, this, messenger_, &MainWindow::Image1_Click);

    onClick(cmdCreate, &MainWindow::cmdCreate_Click);
    // A separate operation: a build that stopped half-way still re-plans.
    onClick(cmdCreate, &MainWindow::ReplanAfterBuild);
    onClick(cmdShow, &MainWindow::cmdShow_Click);
    onClick(cmdPrint, &MainWindow::cmdPrint_Click);
    onClick(cmdOptimize, &MainWindow::cmdOptimize_Click);

    onClick(cmdONew, &MainWindow::cmdONew_Click);
    onClick(cmdOOpen, &MainWindow::cmdOOpen_Click);
    onClick(cmdOSave, &MainWindow::cmdOSave_Click);
    onText(txtONumber, &MainWindow::txtONumber_Change);
}

model::int16 MainWindow::CurrentGrille() const {
    return static_cast<model::int16>(model::ToIndex(BoxValue(txtPNumber)));
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
    QCoreApplication::quit();
}
