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

void MainWindow::ShowGrille(model::int16 n) {
    const model::Grille& g = order_.GrilleAt(n);
    SetTextColour(grilleWidthBox_, model::NeedsDoubleBelt(g));
    // Setting the width runs RefreshGrille, which shows the grille again
    // for the number in grilleNumberBox_; the nested run finds every text already
    // in place and ends there.
    grilleWidthBox_->setText(NumberText(g.B));
    grilleHeightBox_->setText(NumberText(order_.GrilleAt(n).H));
    grilleStepBox_->setText(NumberText(order_.GrilleAt(n).t));
    grilleStepCountBox_->setText(NumberText(order_.GrilleAt(n).n));
    const model::int16 b = order_.GrilleAt(n).b;
    SetTextColour(grilleInsertBox_, model::InsertsOutOfRange(b));
    grilleInsertBox_->setText(NumberText(b));
}

void MainWindow::ShowCurrentGrille() {
    ShowGrille(BoxNumber(grilleNumberBox_));
    DrawGrille(BoxValue(grilleNumberBox_));
    PrimeChangeDialog();
}

void MainWindow::ShowSpunGrilleNumber() {
    grilleNumberBox_->setText(NumberText(grilleNumberSpinner_->Value()));
}

void MainWindow::RefreshGrille() {
    ShowGrille(BoxNumber(grilleNumberBox_));
}

void MainWindow::PrimeChangeDialog() {
    // The dialog reads the current grille afresh for each control, as its
    // recompute does.
    correction_.Get().Prime();
}

void MainWindow::ToggleCorrection() {
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
