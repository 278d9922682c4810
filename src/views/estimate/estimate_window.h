#pragma once

#include "estimate/estimate.h"
#include "model/order.h"
#include "sheets/table.h"

#include <QWidget>

#include <optional>

class Messenger;
class PriceListStore;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The window "Смета": the workshop's price list, the grilles of the last
// report build with their metal, weld joints, paint and price, the order's
// totals, and the printed quote for the customer.
class EstimateWindow : public QWidget {
    Q_OBJECT
public:
    EstimateWindow(PriceListStore& store, Messenger& messenger);
    ~EstimateWindow() override;

    // What a cutting plan of the build buys: its bars and their length in
    // millimetres, of the bar the build's grilles are sized with; and the
    // plan as the workbook's sheet.
    struct Plan {
        long long bars = 0;
        long long length = 0;
        sheets::Sheet sheet;
    };
    // Prices the grilles of a report build (a copy of the order as it was
    // built), under the order number typed then.
    void SetBuild(const model::Order& built, const QString& orderNumber);
    void SetPlan(std::optional<Plan> plan);

    // "12 345 ₽", or "" when the build cannot be priced (the window says why).
    QString PriceText() const;

signals:
    // The price may have changed: new prices, build or plan.
    void PriceChanged();

private:
    void ConnectHandlers();
    // Handlers.
    void StoreTypedPrices();
    void PrintQuote();
    void SaveWorkbook();
    void SaveCsv();

    // The build, its plan and its estimate as sheets; none, after telling
    // why, when the build cannot be priced.
    std::vector<sheets::Sheet> Sheets();
    void Recompute();
    // The metal the plan buys, when there is a plan and every grille of the
    // build is of one bar size.
    std::optional<estimate::BoughtMetal> Bought() const;
    void ShowPrices();
    void ShowGrilles();
    void ShowTotals();

    PriceListStore& store_;
    Messenger& messenger_;
    model::Order built_;
    QString orderNumber_;
    std::optional<Plan> plan_;
    estimate::Result result_;

    std::vector<QLineEdit*> priceBoxes_;
    QTableWidget* grilleTable_;
    QLabel* totalsLabel_;
    QPushButton* printButton_;
    QPushButton* workbookButton_;
    QPushButton* csvButton_;
};
