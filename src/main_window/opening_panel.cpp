// The opening panel: counts, opening numbers, the five dimension boxes, the
// square bar size, apply-to-all and the calculation of all grilles.

#include "main_window.h"

#include "model/numbers.h"
#include "model/sizing.h"
#include "widgets/controls.h"
#include "widgets/spinner.h"

#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

using model::int16;

void MainWindow::Form_Load() {
    txtCount->setText(NumberText(vsrCount->Value()));
    vsrNumber->SetValue(1);
    order_.Quadro = 14;
}

void MainWindow::vsrCount_Change() {
    txtCount->setText(NumberText(vsrCount->Value()));
}

void MainWindow::txtCount_Change() {
    // The number spinner spans 1..count, kept inside the tables' 1..60; a
    // count of 0 or less leaves it at 1. Narrowing the range moves the
    // number to the nearest end, which shows that opening.
    int count = BoxNumber(txtCount);
    vsrNumber->SetMin(std::clamp(count, 1, model::MaxOpenings));
}

void MainWindow::vsrNumber_Change() {
    txtNumber->setText(NumberText(vsrNumber->Value()));
}

void MainWindow::txtNumber_Change() {
    const int16 i = BoxNumber(txtNumber);
    model::CheckIndex(i);
    // Each assignment runs that box's handler, which stores the value just
    // shown back into opening i: the table does not change.
    txtWidth->setText(NumberText(order_.OpeningAt(i).Width));
    txtHeight->setText(NumberText(order_.OpeningAt(i).Height));
    txtZTop->setText(NumberText(order_.OpeningAt(i).TopGap));
    txtZDown->setText(NumberText(order_.OpeningAt(i).BottomGap));
    txtZLeft->setText(NumberText(order_.OpeningAt(i).SideGap));
}

void MainWindow::txtWidth_Change() {
    const int16 i = BoxNumber(txtNumber);
    order_.SetOpeningWidth(i, BoxNumber(txtWidth));
}

void MainWindow::txtHeight_Change() {
    const int16 i = BoxNumber(txtNumber);
    order_.SetOpeningHeight(i, BoxNumber(txtHeight));
}

void MainWindow::txtZTop_Change() {
    const int16 i = BoxNumber(txtNumber);
    order_.SetOpeningTopGap(i, BoxNumber(txtZTop));
}

void MainWindow::txtZDown_Change() {
    const int16 i = BoxNumber(txtNumber);
    order_.SetOpeningBottomGap(i, BoxNumber(txtZDown));
}

void MainWindow::txtZLeft_Change() {
    const int16 i = BoxNumber(txtNumber);
    order_.SetOpeningSideGap(i, BoxNumber(txtZLeft));
}

void MainWindow::txtQuadro_Change() {
    order_.Quadro = BoxNumber(txtQuadro);
}

void MainWindow::cmdToAll_Click() {
    const int16 count = BoxNumber(txtCount);
    for (int k = 1; k <= count; ++k) {
        // Every text is read again for every opening; every store checks k.
        order_.OpeningAt(k).Width = BoxNumber(txtWidth);
        order_.OpeningAt(k).Height = BoxNumber(txtHeight);
        order_.OpeningAt(k).TopGap = BoxNumber(txtZTop);
        order_.OpeningAt(k).BottomGap = BoxNumber(txtZDown);
        order_.OpeningAt(k).SideGap = BoxNumber(txtZLeft);
    }
}

void MainWindow::CalculateAll() {
    // The grille spinner spans 1..count, kept inside 1..60. Narrowing it may
    // move the current grille and show it before anything is sized.
    const int16 count = BoxNumber(txtCount);
    vsrPNumber->SetMin(std::clamp<int>(count, 1, model::MaxOpenings));

    // Size every grille; the bound is fixed before the first pass.
    for (int i = 1; i <= count; ++i) {
        const auto k = static_cast<int16>(i);
        model::SizeGrilleFrame(order_, k);
        model::SizeGrilleSteps(order_, k);
        model::SizeGrilleInserts(order_, k);
    }

    // Set once every grille is sized: a sizing error keeps the last count.
    order_.GrilleCount = BoxNumber(txtCount);

    SetGratingInfo(BoxNumber(txtPNumber));
    // Sized grilles can be corrected and reported.
    cmdChange->setEnabled(true);
    cmdCreate->setEnabled(true);
    PrimeChangeDialog();
    GDraw(BoxValue(txtPNumber));
}
