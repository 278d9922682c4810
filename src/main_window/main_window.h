#pragma once

#include "model/cut_list.h"
#include "model/order.h"
#include "views/correction/correction_host.h"
#include "widgets/handler.h"
#include "widgets/secondary_window.h"

#include <QWidget>

#include <memory>

class QLineEdit;
class QPushButton;
class QTreeWidget;
class ClickArea;
class CorrectionDialog;
class CuttingWindow;
class EstimateWindow;
class GrillePicture;
class MaterialWindow;
class PriceListStore;
class StockWindow;
namespace stock {
class StockStore;
}
class QLabel;
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
    void GrilleRecomputed() override { ShowCurrentGrille(); }
    void BeltChanged() override { RefreshGrille(); }

    // Procedures the panels share.
    void ShowGrille(model::int16 n);
    void DrawGrille(double n);
    // Loads the correction dialog's controls from the current grille
    // (creating the dialog hidden if needed) without changing any record.
    void PrimeChangeDialog();

    // The secondary windows, created hidden on first use.
    CorrectionDialog& Correction();
    ReportPageWindow& ReportPage();
    MaterialWindow& Materials();
    CuttingWindow& Cutting();
    EstimateWindow& Estimate();
    bool HasCorrection() const;
    bool HasMaterials() const;

    // The folder of the order files: the program's own folder where it is
    // writable, otherwise a per-user data folder; chosen once, on first use,
    // so that saving and opening always use the same one.
    QString OrdersFolder();
    void SetOrdersFolder(const QString& folder) { ordersFolder_ = folder; }
    // Where the program runs from, which OrdersFolder tries first.
    void SetProgramFolder(const QString& folder) { programFolder_ = folder; }
    // The workshop's bar store: a per-user file, opened on first use. One
    // that cannot be opened is told once; "Раскрой" then works without it.
    stock::StockStore* Stock();
    void SetStockFile(const QString& file) { stockFile_ = file; }

    // Runs a handler as one operation (see RunHandler).
    template <class F> void Handle(F&& f) { RunHandler(messenger_, this, std::forward<F>(f)); }

    // --- Handlers, each attached to its control in ConnectHandlers ---------
    // Opening panel (opening_panel.cpp).
    void Start();
    void ShowSpunCount();
    void FitOpeningNumberToCount();
    void ShowSpunOpeningNumber();
    void ShowOpening();
    void StoreOpeningWidth();
    void StoreOpeningHeight();
    void StoreTopGap();
    void StoreBottomGap();
    void StoreSideGap();
    void StoreBarSize();
    void ApplyToAllOpenings();
    void CalculateAll();
    // Grille panel (grille_panel.cpp).
    void ShowCurrentGrille();
    void ShowSpunGrilleNumber();
    void RefreshGrille();
    void ToggleCorrection();
    // Drawing (drawing.cpp).
    void PaintGrille();
    void Greet();
    // Reports (report_commands.cpp).
    void BuildReport();
    void ShowMaterials();
    void PrintReport();
    // Cutting plan (cutting_command.cpp).
    void PlanCutting();
    void ShowStock();
    void RefreshStock();
    // Estimate (estimate_command.cpp).
    void ShowEstimate();
    void PriceBuild();
    void PricePlan();
    void ShowPrice();
    // Orders (order_commands.cpp).
    void NewOrder();
    void OpenOrder();
    void SaveOrder();
    void OnOrderNumberTyped();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Runs PaintGrille.
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildControls();
    void SetUpGrilleList();
    void ConnectHandlers();

    // A new report build re-plans a cutting window on screen.
    void ReplanAfterBuild();
    void SetUpPriceBox();
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
    // The workshop's prices, kept between runs; the estimate window uses it.
    std::unique_ptr<PriceListStore> priceList_;
    // The bar size and order number of the last report build.
    model::int16 builtBarSize_ = 0;
    QString builtOrderNumber_;
    QString stockFile_;
    bool stockTried_ = false;
    std::unique_ptr<stock::StockStore> stock_;

    SecondaryWindow<CorrectionDialog> correction_;
    SecondaryWindow<ReportPageWindow> reportPage_;
    SecondaryWindow<MaterialWindow> materials_;
    SecondaryWindow<CuttingWindow> cutting_;
    SecondaryWindow<EstimateWindow> estimate_;
    SecondaryWindow<StockWindow> stockWindow_;

    // Opening panel.
    QLineEdit* openingCountBox_;
    Spinner* openingCountSpinner_;
    QLineEdit* openingNumberBox_;
    Spinner* openingNumberSpinner_;
    QLineEdit* openingWidthBox_;
    QLineEdit* openingHeightBox_;
    QLineEdit* topGapBox_;
    QLineEdit* bottomGapBox_;
    QLineEdit* sideGapBox_;
    QLineEdit* barSizeBox_;
    QPushButton* applyToAllButton_;
    QPushButton* calculateButton_;
    // Grille panel.
    QLineEdit* grilleNumberBox_;
    Spinner* grilleNumberSpinner_;
    QLineEdit* grilleWidthBox_;
    QLineEdit* grilleHeightBox_;
    QLineEdit* grilleStepBox_;
    QLineEdit* grilleStepCountBox_;
    QLineEdit* grilleInsertBox_;
    QPushButton* correctionButton_;
    // Order frame.
    QLineEdit* orderNumberBox_;
    QPushButton* newOrderButton_;
    QPushButton* openOrderButton_;
    QPushButton* saveOrderButton_;
    QLabel* priceLabel_;
    QLineEdit* priceBox_;
    ClickArea* greetingArea_;
    // The grilles, the drawing and the report buttons.
    QTreeWidget* grilleList_;
    GrillePicture* picture_;
    QPushButton* buildReportButton_;
    QPushButton* printReportButton_;
    // Material frame.
    QLineEdit* stockLengthBox_;
    QPushButton* showMaterialsButton_;
    QPushButton* optimizeButton_;
};
