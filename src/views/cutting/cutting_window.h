#pragma once

#include "plan_runner.h"
#include "plan_value.h"
#include "stock/stock_store.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

class LengthTable;
class Messenger;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The cutting plan window "Раскрой": the stock lengths (the first from the
// main window, any number of bars), the offcuts on hand, the saw cut, the end
// trim and the shortest leftover worth keeping; the plan as a table with a
// picture of each way of cutting a bar, what to buy and what is left over.
// Planning runs off the user-interface thread with its progress on show and
// can be stopped; the plan on show is a value that only a new plan replaces.
class CuttingWindow : public QWidget {
    Q_OBJECT
public:
    // With a store, the stock lengths and offcuts below the first row are
    // the store's for the order's bar size: edits change it, and a plan can
    // be written off it.
    explicit CuttingWindow(Messenger& messenger, stock::StockStore* store = nullptr);

    // The bar size and order number of the pieces to plan next; shows the
    // store's stock of that size.
    void SetOrder(int barSize, const QString& order);

    // Plans the pieces with the stock length given as text in the first row.
    void Plan(const std::vector<cutting::CutItem>& pieces, const QString& stockText);
    // The stock length the window was opened with.
    QString StockText() const;

    // The plan on show, if there is one.
    const PlanValue& CurrentPlan() const { return value_; }
    bool HasPlan() const { return hasPlan_; }
    bool Planning() const { return runner_.Running(); }

    // Stands in for the optimiser, for tests.
    void SetPlanner(PlanRunner::Planner planner) { runner_.SetPlanner(std::move(planner)); }

signals:
    // A plan (or a refusal) came in.
    void PlanShown();
    // The store changed through this window; "Склад" wanted on screen.
    void StockChanged();
    void StockWanted();

protected:
    // Closing the window stops a plan that is running.
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectHandlers();
    // Handlers.
    void Replan();
    void StopPlanning();
    void PrintPlan();
    void SavePlanWorkbook();
    void SavePlanCsv();
    QString PlanFileStem() const;
    // The store (cutting_stock.cpp).
    void StoreStockLengths();
    void StoreOffcuts();
    void WriteOffPlan();
    void UndoWriteOff();
    void ShowStockWindow();
    void LoadStock();
    void StoreRows(LengthTable* table, bool stockLengths);
    void ChangeStore(const QString& done, const std::function<stock::Status()>& change);
    void EnableStockButtons();

    bool ReadSettings(cutting::Settings& settings, QString& error) const;
    void ShowProgress();
    void ShowPlan();
    void ShowRefusal(const QString& error);
    void MarkOutOfDate();
    void ShowStatus();
    void SetStatus(const QString& text);

    Messenger& messenger_;
    QLineEdit* kerfBox_;
    QLineEdit* trimBox_;
    QLineEdit* leastLeftoverBox_;
    LengthTable* stockTable_;
    LengthTable* offcutTable_;
    QPushButton* replanButton_;
    QPushButton* stopButton_;
    QPushButton* printButton_;
    QPushButton* workbookButton_;
    QPushButton* csvButton_;
    QPushButton* stockButton_;
    QPushButton* writeOffButton_;
    QPushButton* undoWriteOffButton_;
    QTableWidget* planTable_;
    QLabel* totalsLabel_;
    QLabel* purchasesLabel_;
    QLabel* leftoversLabel_;
    QLabel* statusLabel_;
    PlanRunner runner_;
    QTimer clock_;
    std::vector<cutting::CutItem> pieces_;
    cutting::Progress progress_;
    PlanValue value_;
    bool hasPlan_ = false;
    // The boxes or tables changed since the plan on show was asked for.
    bool outOfDate_ = false;

    stock::StockStore* store_;
    int barSize_ = 0;
    QString order_;
    // The bar size's store as read when the plan on show was asked for.
    stock::BarStock planned_;
};
