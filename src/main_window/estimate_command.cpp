// "Стоимость": the price of the last report build, kept up to date with the
// price list and a cutting plan of that build, and the window "Смета" behind
// it.

#include "main_window.h"

#include "optimize/order_pieces.h"
#include "views/cutting/cutting_window.h"
#include "views/estimate/estimate_window.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

namespace {

bool SamePieces(const std::vector<cutting::CutItem>& a, const std::vector<cutting::CutItem>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.grille == y.grille && x.kind == y.kind && x.length == y.length &&
               x.count == y.count;
    });
}

} // namespace

// The window opens from a button inside the price box: no control of the
// order frame moves or changes size, and it is usable exactly when there is a
// price to explain.
void MainWindow::SetUpPriceBox() {
    priceBox_->setReadOnly(true);
    auto* open = new QAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                             QStringLiteral("Смета"), priceBox_);
    open->setObjectName(QStringLiteral("actEstimate"));
    open->setToolTip(QStringLiteral("Смета: цены, расчёт по решёткам, коммерческое предложение"));
    priceBox_->addAction(open, QLineEdit::TrailingPosition);
    ConnectHandler(open, &QAction::triggered, this, messenger_, &MainWindow::ShowEstimate);
}

void MainWindow::ShowEstimate() {
    estimate_.Show();
}

void MainWindow::PriceBuild() {
    priceLabel_->setEnabled(true);
    priceBox_->setEnabled(true);
    estimate_.Get().SetBuild(order_, orderNumberBox_->text());
    PricePlan();
}

// The plan counts when it was made for the pieces of the last build.
void MainWindow::PricePlan() {
    EstimateWindow* estimate = estimate_.Existing();
    if (estimate == nullptr)
        return;
    const CuttingWindow* cutting = cutting_.Existing();
    std::optional<EstimateWindow::Plan> plan;
    if (cutting != nullptr && cutting->HasPlan() && cutting->CurrentPlan().result.ok &&
        SamePieces(cutting->CurrentPlan().pieces, cutting::PiecesOf(builtCuts_))) {
        const cutting::Plan& made = cutting->CurrentPlan().result.plan;
        plan = EstimateWindow::Plan{made.bars, made.boughtLength};
    }
    estimate->SetPlan(plan);
}

void MainWindow::ShowPrice() {
    priceBox_->setText(estimate_.Get().PriceText());
}
