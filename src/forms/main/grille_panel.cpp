// The grille panel: shows one computed grille, steps through the grilles and
// toggles the correction dialog.

#include "frm_main.h"

#include "forms/widgets/controls.h"
#include "forms/widgets/spinner.h"
#include "model/numbers.h"

#include <QLineEdit>

namespace {

void SetTextColour(QLineEdit* box, bool red) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Text, red ? Qt::red : Qt::black);
    box->setPalette(palette);
}

} // namespace

void FrmMain::SetGratingInfo(model::int16 n) {
    const model::Grille& g = order_.GrilleAt(n);
    // A grille wider than 1500 mm needs a double belt.
    SetTextColour(txtPWidth, g.B > 1500 && g.DoubleBelt == model::False16);
    // Setting the width runs txtPWidth_Change, which shows the grille again
    // for the number in txtPNumber; the nested run finds every text already
    // in place and ends there.
    txtPWidth->setText(NumberText(g.B));
    txtPHeight->setText(NumberText(order_.GrilleAt(n).H));
    txtPStep->setText(NumberText(order_.GrilleAt(n).t));
    txtPStepCount->setText(NumberText(order_.GrilleAt(n).n));
    const model::int16 b = order_.GrilleAt(n).b;
    SetTextColour(txtPAdd, b >= 145 || (b < 40 && b != 0));
    txtPAdd->setText(NumberText(b));
}

void FrmMain::txtPNumber_Change() {
    SetGratingInfo(Number(txtPNumber));
    GDraw(BoxValue(txtPNumber));
    PrimeChangeDialog(BoxValue(txtPNumber));
}

void FrmMain::vsrPNumber_Change() {
    txtPNumber->setText(NumberText(vsrPNumber->Value()));
}

void FrmMain::txtPWidth_Change() {
    SetGratingInfo(Number(txtPNumber));
}
