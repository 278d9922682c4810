#pragma once

#include <QWidget>

class CorrectionHost;
class QCheckBox;
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
    // value beyond a slider's range shows in the text box as it is, and the
    // slider stops at its nearest end.
    void Prime();

private:
    void ConnectHandlers();

    // Handlers.
    void ShowSlidGap();
    void ShowSlidStep();
    // Writes the side gap and step shown into the current grille and
    // recomputes it.
    void Recompute();
    void DropOneStep();
    void MarkDoubleBelt();

    CorrectionHost& host_;
    bool priming_ = false;
    QLineEdit* gapBox_;
    Spinner* gapSlider_;
    QLineEdit* stepBox_;
    Spinner* stepSlider_;
    QPushButton* dropStepButton_;
    QCheckBox* doubleBeltBox_;
};
