// The opening panel: counts, opening numbers, the five dimension boxes, the
// square bar size, apply-to-all and the calculation of all grilles.

#include "frm_main.h"

#include "forms/widgets/controls.h"
#include "forms/widgets/spinner.h"
#include "model/numbers.h"
#include "model/sizing.h"

#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

using model::int16;

void FrmMain::Form_Load() {
    txtCount->setText(NumberText(vsrCount->Value()));
    vsrNumber->SetValue(1);
    order_.Quadro = 14;
}

void FrmMain::vsrCount_Change() {
    txtCount->setText(NumberText(vsrCount->Value()));
}

void FrmMain::txtCount_Change() {
    // The number spinner spans 1..count, kept inside the tables' 1..60; a
    // count of 0 or less leaves it at 1. Narrowing the range moves the
    // number to the nearest end, which shows that opening.
    int count = Number(txtCount);
    vsrNumber->SetMin(std::clamp(count, 1, model::MaxOpenings));
}

void FrmMain::vsrNumber_Change() {
    txtNumber->setText(NumberText(vsrNumber->Value()));
}

void FrmMain::txtNumber_Change() {
    const int16 i = Number(txtNumber);
    model::CheckIndex(i);
    // Each assignment runs that box's handler, which stores the value just
    // shown back into opening i: the table does not change.
    txtWidth->setText(NumberText(order_.OpeningAt(i).Width));
    txtHeight->setText(NumberText(order_.OpeningAt(i).Height));
    txtZTop->setText(NumberText(order_.OpeningAt(i).TopGap));
    txtZDown->setText(NumberText(order_.OpeningAt(i).BottomGap));
    txtZLeft->setText(NumberText(order_.OpeningAt(i).SideGap));
}

void FrmMain::txtWidth_Change() {
    const int16 i = Number(txtNumber);
    order_.SetOpeningWidth(i, Number(txtWidth));
}

void FrmMain::txtHeight_Change() {
    const int16 i = Number(txtNumber);
    order_.SetOpeningHeight(i, Number(txtHeight));
}

void FrmMain::txtZTop_Change() {
    const int16 i = Number(txtNumber);
    order_.SetOpeningTopGap(i, Number(txtZTop));
}

void FrmMain::txtZDown_Change() {
    const int16 i = Number(txtNumber);
    order_.SetOpeningBottomGap(i, Number(txtZDown));
}

void FrmMain::txtZLeft_Change() {
    const int16 i = Number(txtNumber);
    order_.SetOpeningSideGap(i, Number(txtZLeft));
}

void FrmMain::txtQuadro_Change() {
    order_.Quadro = Number(txtQuadro);
}

void FrmMain::cmdToAll_Click() {
    const int16 count = Number(txtCount);
    for (int k = 1; k <= count; ++k) {
        // Every text is read again for every opening; every store checks k.
        order_.OpeningAt(k).Width = Number(txtWidth);
        order_.OpeningAt(k).Height = Number(txtHeight);
        order_.OpeningAt(k).TopGap = Number(txtZTop);
        order_.OpeningAt(k).BottomGap = Number(txtZDown);
        order_.OpeningAt(k).SideGap = Number(txtZLeft);
    }
}

void FrmMain::CalculateAll() {
    // 1. The grille spinner spans 1..count (kept inside 1..60). Narrowing it
    //    may move the current grille and show it before anything is sized.
    const int16 count = Number(txtCount);
    vsrPNumber->SetMin(std::clamp<int>(count, 1, model::MaxOpenings));

    // 2. Size every grille; the bound is fixed before the first pass.
    for (int i = 1; i <= count; ++i) {
        const auto k = static_cast<int16>(i);
        model::SizeGrilleFrame(order_, k);
        model::SizeGrilleSteps(order_, k);
        model::SizeGrilleInserts(order_, k);
    }

    // 3.
    order_.GrilleCount = Number(txtCount);

    // 4. Show the current grille.
    SetGratingInfo(Number(txtPNumber));

    // 5.
    cmdChange->setEnabled(true);
    cmdCreate->setEnabled(true);

    // 6. and 7.
    PrimeChangeDialog(BoxValue(txtPNumber));
    GDraw(BoxValue(txtPNumber));
}
