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

void MainWindow::Start() {
    openingCountBox_->setText(NumberText(openingCountSpinner_->Value()));
    openingNumberSpinner_->SetValue(1);
    order_.Quadro = 14;
}

void MainWindow::ShowSpunCount() {
    openingCountBox_->setText(NumberText(openingCountSpinner_->Value()));
}

void MainWindow::FitOpeningNumberToCount() {
    // The number spinner spans 1..count, kept inside the tables' 1..60; a
    // count of 0 or less leaves it at 1. Narrowing the range moves the
    // number to the nearest end, which shows that opening.
    int count = BoxNumber(openingCountBox_);
    openingNumberSpinner_->SetMin(std::clamp(count, 1, model::MaxOpenings));
}

void MainWindow::ShowSpunOpeningNumber() {
    openingNumberBox_->setText(NumberText(openingNumberSpinner_->Value()));
}

void MainWindow::ShowOpening() {
    const int16 i = BoxNumber(openingNumberBox_);
    model::CheckIndex(i);
    // Each assignment runs that box's handler, which stores the value just
    // shown back into opening i: the table does not change.
    openingWidthBox_->setText(NumberText(order_.OpeningAt(i).Width));
    openingHeightBox_->setText(NumberText(order_.OpeningAt(i).Height));
    topGapBox_->setText(NumberText(order_.OpeningAt(i).TopGap));
    bottomGapBox_->setText(NumberText(order_.OpeningAt(i).BottomGap));
    sideGapBox_->setText(NumberText(order_.OpeningAt(i).SideGap));
}

void MainWindow::StoreOpeningWidth() {
    const int16 i = BoxNumber(openingNumberBox_);
    order_.SetOpeningWidth(i, BoxNumber(openingWidthBox_));
}

void MainWindow::StoreOpeningHeight() {
    const int16 i = BoxNumber(openingNumberBox_);
    order_.SetOpeningHeight(i, BoxNumber(openingHeightBox_));
}

void MainWindow::StoreTopGap() {
    const int16 i = BoxNumber(openingNumberBox_);
    order_.SetOpeningTopGap(i, BoxNumber(topGapBox_));
}

void MainWindow::StoreBottomGap() {
    const int16 i = BoxNumber(openingNumberBox_);
    order_.SetOpeningBottomGap(i, BoxNumber(bottomGapBox_));
}

void MainWindow::StoreSideGap() {
    const int16 i = BoxNumber(openingNumberBox_);
    order_.SetOpeningSideGap(i, BoxNumber(sideGapBox_));
}

void MainWindow::StoreBarSize() {
    order_.Quadro = BoxNumber(barSizeBox_);
}

void MainWindow::ApplyToAllOpenings() {
    const int16 count = BoxNumber(openingCountBox_);
    for (int k = 1; k <= count; ++k) {
        // Every text is read again for every opening; every store checks k.
        order_.OpeningAt(k).Width = BoxNumber(openingWidthBox_);
        order_.OpeningAt(k).Height = BoxNumber(openingHeightBox_);
        order_.OpeningAt(k).TopGap = BoxNumber(topGapBox_);
        order_.OpeningAt(k).BottomGap = BoxNumber(bottomGapBox_);
        order_.OpeningAt(k).SideGap = BoxNumber(sideGapBox_);
    }
}

void MainWindow::CalculateAll() {
    // The grille spinner spans 1..count, kept inside 1..60. Narrowing it may
    // move the current grille and show it before anything is sized.
    const int16 count = BoxNumber(openingCountBox_);
    grilleNumberSpinner_->SetMin(std::clamp<int>(count, 1, model::MaxOpenings));

    // Size every grille; the bound is fixed before the first pass.
    for (int i = 1; i <= count; ++i) {
        const auto k = static_cast<int16>(i);
        model::SizeGrilleFrame(order_, k);
        model::SizeGrilleSteps(order_, k);
        model::SizeGrilleInserts(order_, k);
    }

    // Set once every grille is sized: a sizing error keeps the last count.
    order_.GrilleCount = BoxNumber(openingCountBox_);

    ShowGrille(BoxNumber(grilleNumberBox_));
    // Sized grilles can be corrected and reported.
    correctionButton_->setEnabled(true);
    buildReportButton_->setEnabled(true);
    PrimeChangeDialog();
    DrawGrille(BoxValue(grilleNumberBox_));
}
