// The grille panel: shows one computed grille, steps through the grilles and
// shows or hides the correction dialog.

#include "main_window.h"

#include "model/grille_rules.h"
#include "model/numbers.h"
#include "views/correction/correction_dialog.h"
#include "widgets/controls.h"
#include "widgets/spinner.h"

#include <QLineEdit>

namespace {

void SetTextColour(QLineEdit* box, bool red) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Text, red ? Qt::red : Qt::black);
    box->setPalette(palette);
}

} // namespace

void MainWindow::SetGratingInfo(model::int16 n) {
    const model::Grille& g = order_.GrilleAt(n);
    SetTextColour(txtPWidth, model::NeedsDoubleBelt(g));
    // Setting the width runs txtPWidth_Change, which shows the grille again
    // for the number in txtPNumber; the nested run finds every text already
    // in place and ends there.
    txtPWidth->setText(NumberText(g.B));
    txtPHeight->setText(NumberText(order_.GrilleAt(n).H));
    txtPStep->setText(NumberText(order_.GrilleAt(n).t));
    txtPStepCount->setText(NumberText(order_.GrilleAt(n).n));
    const model::int16 b = order_.GrilleAt(n).b;
    SetTextColour(txtPAdd, model::InsertsOutOfRange(b));
    txtPAdd->setText(NumberText(b));
}

void MainWindow::txtPNumber_Change() {
    SetGratingInfo(BoxNumber(txtPNumber));
    GDraw(BoxValue(txtPNumber));
    PrimeChangeDialog();
}

void MainWindow::vsrPNumber_Change() {
    txtPNumber->setText(NumberText(vsrPNumber->Value()));
}

void MainWindow::txtPWidth_Change() {
    SetGratingInfo(BoxNumber(txtPNumber));
}

void MainWindow::PrimeChangeDialog() {
    // The dialog reads the current grille afresh for each control, as its
    // recompute does.
    correction_.Get().Prime();
}

void MainWindow::cmdChange_Click() {
    // Follows what the user sees: a dialog closed through its frame counts as
    // hidden, so the next press shows it again.
    CorrectionDialog* shown = correction_.Existing();
    if (shown && shown->isVisible()) {
        shown->hide();
        return;
    }
    correction_.Get().Prime();
    correction_.Show();
}
