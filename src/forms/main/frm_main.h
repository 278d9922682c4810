#pragma once

#include "model/order.h"

#include <QPointer>
#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class ClickArea;
class EngravedLine;
class FrmChange;
class FrmCutting;
class FrmReport;
class FrmSux;
class GrillePicture;
class Messenger;
class Spinner;

// The main window: opening panel, grille panel, order frame, the list of
// grilles and the material frame. It works on the one order handed to it and
// owns the secondary windows, which it creates hidden on first use.
class FrmMain : public QWidget {
    Q_OBJECT
public:
    FrmMain(model::Order& order, Messenger& messenger, QWidget* parent = nullptr);
    ~FrmMain() override;

    model::Order& order() { return order_; }
    Messenger& messenger() { return messenger_; }

    // Public procedures of the window; the correction dialog calls them.
    void SetGratingInfo(model::int16 n);
    void GDraw(double n);
    void txtPNumber_Change();
    void txtPWidth_Change();
    // Loads the correction dialog's controls from grille m (creating the
    // dialog hidden if needed) without changing any record.
    void PrimeChangeDialog(double m);

    // Secondary windows, created hidden the first time they are needed. A
    // window closed through its frame is destroyed and created anew.
    FrmChange& changeDialog();
    FrmReport& reportWindow();
    FrmSux& suxWindow();
    bool hasChangeDialog() const { return !change_.isNull(); }
    bool hasReportWindow() const { return !report_.isNull(); }
    bool hasSuxWindow() const { return !sux_.isNull(); }

    // Runs a handler as one operation (see RunHandler).
    template <class F> void Handle(F&& f);

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
    // Opening panel.
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
    // Grille panel.
    void vsrPNumber_Change();
    void cmdChange_Click();
    // Drawing.
    void Form_Paint();
    void Image1_Click();
    // Reports.
    void cmdCreate_Click();
    void cmdShow_Click();
    void cmdPrint_Click();
    void cmdOptimize_Click();
    // Orders.
    void cmdONew_Click();
    void cmdOOpen_Click();
    void cmdOSave_Click();
    void txtONumber_Change();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Runs Form_Paint (defined with the drawing).
    void paintEvent(QPaintEvent* event) override;

private:
    void createOpeningPanel();
    void createGrillePanel();
    void createOrderFrame();
    void createGrillesFrame();
    void createMaterialFrame();
    void setTabOrder();
    void connectHandlers();

    // Reads a text box as a 16-bit number: ToInteger(ParseNumber(text)).
    static model::int16 Number(const QLineEdit* box);

    model::Order& order_;
    Messenger& messenger_;

    // Whether "Корректировка" last showed the dialog.
    bool ChangeShown = false;

    QPointer<FrmChange> change_;
    QPointer<FrmReport> report_;
    QPointer<FrmSux> sux_;
    QPointer<FrmCutting> cutting_;

    // --- Orders folder (defined with the order commands) --------------------
public:
    // The folder of the order files: the program's own folder where it is
    // writable, otherwise a per-user data folder; chosen once, on first use,
    // so that saving and opening always use the same one.
    QString ordersFolder();
    void setOrdersFolder(const QString& folder) { ordersFolder_ = folder; }

private:
    QString ordersFolder_;
};

#include "forms/widgets/handler.h"

template <class F> void FrmMain::Handle(F&& f) {
    RunHandler(messenger_, this, std::forward<F>(f));
}
