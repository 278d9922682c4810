#pragma once

#include "optimize/cutting.h"

#include <QWidget>

#include <vector>

class Messenger;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The cutting plan window "Раскрой": the stock length taken from the main
// window, the saw cut and the end trim (the user's to change), the plan as a
// table with a picture of each way of cutting a bar, and the totals.
class CuttingWindow : public QWidget {
    Q_OBJECT
public:
    explicit CuttingWindow(Messenger& messenger);

    QLineEdit *txtStock, *txtKerf, *txtTrim;
    QPushButton *cmdCalculate, *cmdPrint;
    QTableWidget* tblPlan;
    QLabel *lblTotals, *lblStatus;

    // Plans the cut list for the stock length given as text; a refusal is
    // told through the messenger and leaves the table empty.
    void Plan(const std::vector<cutting::CutItem>& items, const QString& stockText);
    // Plans again with the saw cut and trim now in the boxes.
    void cmdCalculate_Click();
    void cmdPrint_Click();

    const cutting::Plan& CurrentPlan() const { return plan_; }
    bool HasPlan() const { return hasPlan_; }

private:
    void ShowPlan();
    void ClearPlan(const QString& status);

    Messenger& messenger_;
    std::vector<cutting::CutItem> items_;
    int stock_ = 0;
    cutting::Plan plan_;
    bool hasPlan_ = false;
};
