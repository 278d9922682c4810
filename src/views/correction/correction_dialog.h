#pragma once

#include <QWidget>

class CorrectionHost;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Spinner;

// The correction dialog: changes the side gap, the step, the number of steps
// and the double-belt mark of the host's current grille and recomputes it at
// once.
class CorrectionDialog : public QWidget {
    Q_OBJECT
public:
    explicit CorrectionDialog(CorrectionHost& host);

    // Shows the current grille's step and its opening's side gap without
    // writing anything: the change handlers that this sets off do nothing. A
    // value beyond a scroll bar's range shows in the text box as it is, and
    // the scroll bar stops at its nearest end.
    void Prime();

    QGroupBox* fraCZLeft;
    QLabel* Label1;
    QLineEdit* txtNewZLeft;
    Spinner* HScroll1;
    QGroupBox* fraCStep;
    QLabel* Label2;
    QLineEdit* txtNewStep;
    Spinner* HScroll2;
    QPushButton* cmdDecStep;
    QCheckBox* chkDouble;

    // Handlers. txtNewZLeft_Change is also the recompute of the current grille.
    void HScroll1_Change();
    void HScroll2_Change();
    void txtNewZLeft_Change();
    void txtNewStep_Change();
    void cmdDecStep_Click();
    void chkDouble_Click();

private:
    void ConnectHandlers();

    CorrectionHost& host_;
    bool priming_ = false;
};
