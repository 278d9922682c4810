#pragma once

#include "model/cut_list.h"
#include "model/order.h"
#include "views/correction/correction_host.h"
#include "widgets/handler.h"
#include "widgets/secondary_window.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class ClickArea;
class CorrectionDialog;
class CuttingWindow;
class EngravedLine;
class GrillePicture;
class MaterialWindow;
class Messenger;
class ReportPageWindow;
class Spinner;

// The main window: opening panel, grille panel, order frame, the list of
// grilles and the material frame. It works on the one order handed to it and
// owns the secondary windows. Its members are defined one file per panel or
// command group.
class MainWindow : public QWidget, public CorrectionHost {
    Q_OBJECT
public:
    MainWindow(model::Order& order, Messenger& messenger, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What the correction dialog needs of this window.
    model::Order& Order() override { return order_; }
    Messenger& Messages() override { return messenger_; }
    model::int16 CurrentGrille() const override;
    void GrilleRecomputed() override { txtPNumber_Change(); }
    void BeltChanged() override { txtPWidth_Change(); }

    // Procedures the panels share.
    void SetGratingInfo(model::int16 n);
    void GDraw(double n);
    // Loads the correction dialog's controls from the current grille
    // (creating the dialog hidden if needed) without changing any record.
    void PrimeChangeDialog();

    // The secondary windows, created hidden on first use.
    CorrectionDialog& Correction();
    ReportPageWindow& ReportPage();
    MaterialWindow& Materials();
    CuttingWindow& Cutting();
    bool HasCorrection() const;
    bool HasMaterials() const;

    // The folder of the order files: the program's own folder where it is
    // writable, otherwise a per-user data folder; chosen once, on first use,
    // so that saving and opening always use the same one.
    QString OrdersFolder();
    void SetOrdersFolder(const QString& folder) { ordersFolder_ = folder; }
    // Where the program runs from, which OrdersFolder tries first.
    void SetProgramFolder(const QString& folder) { programFolder_ = folder; }

    // Runs a handler as one operation (see RunHandler).
    template <class F> void Handle(F&& f) { RunHandler(messenger_, this, std::forward<F>(f)); }

    // --- Frame "Параметры проёма" -------------------------------------------
    QGroupBox* frmParam;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label6, *Label7, *Label8, *Label9;
    QLineEdit *txtCount, *txtNumber, *txtWidth, *txtHeight, *txtZTop, *txtZDown, *txtZLeft,
        *txtQuadro;
    Spinner *vsrCount, *vsrNumber;
    QPushButton *cmdToAll, *cmdOK;
    EngravedLine *lineVertical, *lineHorizontal;

    // --- Frame "Параметры решетки" ------------------------------------------
    QGroupBox* frmOut;
    QLabel *Label10, *Label11, *Label12, *Label13, *Label14, *Label15;
    QLineEdit *txtPNumber, *txtPWidth, *txtPHeight, *txtPStep, *txtPStepCount, *txtPAdd;
    Spinner* vsrPNumber;
    QPushButton* cmdChange;

    // --- Frame "Свойства заказа" --------------------------------------------
    QGroupBox* fraOrder;
    QLabel *Label16, *Label17;
    QLineEdit *txtONumber, *txtOPrice;
    QPushButton *cmdONew, *cmdOOpen, *cmdOSave;
    ClickArea* Image1;

    // --- Frame "Размеры решёток", the drawing and the report buttons --------
    QGroupBox* fraGrating;
    QTreeWidget* lstReport1;
    GrillePicture* Picture1;
    QPushButton *cmdCreate, *cmdPrint;

    // --- Frame "Расход материалов" ------------------------------------------
    QGroupBox* fraSux;
    QLabel* lblLength;
    QLineEdit* txtLen;
    QPushButton *cmdShow, *cmdOptimize;

    // --- Handlers -----------------------------------------------------------
    // Opening panel (opening_panel.cpp).
    void Form_Load();
    void vsrCount_Change();
    void txtCount_Change();
    void vsrNumber_Change();
    void txtNumber_Change();
    void txtWidth_Change();
    void txtHeight_Change();
    void txtZTop_Change();
    void txtZDown_Change();
    void txtZLeft_Change();
    void txtQuadro_Change();
    void cmdToAll_Click();
    void cmdOK_Click() { CalculateAll(); }
    void CalculateAll();
    // Grille panel (grille_panel.cpp).
    void txtPNumber_Change();
    void vsrPNumber_Change();
    void txtPWidth_Change();
    void cmdChange_Click();
    // Drawing (drawing.cpp).
    void Form_Paint();
    void Image1_Click();
    // Reports (report_commands.cpp).
    void cmdCreate_Click();
    void cmdShow_Click();
    void cmdPrint_Click();
    // Cutting plan (cutting_command.cpp).
    void cmdOptimize_Click();
    // Orders (order_commands.cpp).
    void cmdONew_Click();
    void cmdOOpen_Click();
    void cmdOSave_Click();
    void txtONumber_Change();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Runs Form_Paint.
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateOpeningPanel();
    void CreateGrillePanel();
    void CreateOrderFrame();
    void CreateGrillesFrame();
    void CreateMaterialFrame();
    void SetTabOrder();
    void ConnectHandlers();

    // A new report build re-plans a cutting window on screen.
    void ReplanAfterBuild();
    // Keeps the opening number inside its spinner's range and shows that
    // opening.
    void ShowCurrentOpening();

    model::Order& order_;
    Messenger& messenger_;
    QString ordersFolder_;
    QString programFolder_;
    // The cut lists the last report build put in the material window: what
    // the cutting plan cuts.
    std::vector<model::CutList> builtCuts_;

    SecondaryWindow<CorrectionDialog> correction_;
    SecondaryWindow<ReportPageWindow> reportPage_;
    SecondaryWindow<MaterialWindow> materials_;
    SecondaryWindow<CuttingWindow> cutting_;
};
