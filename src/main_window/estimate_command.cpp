// "Стоимость": the price of the last report build, kept up to date with the
// price list and a cutting plan of that build, and the window "Смета" behind
// it.

#include "main_window.h"

#include "optimize/order_pieces.h"
#include "sheets/plan_sheet.h"
#include "views/cutting/cutting_window.h"
#include "views/estimate/estimate_window.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include <functional>

namespace {

bool SamePieces(const std::vector<cutting::CutItem>& a, const std::vector<cutting::CutItem>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.grille == y.grille && x.kind == y.kind && x.length == y.length &&
               x.count == y.count;
    });
}

// Runs `open` on a left click, or on Enter while the box has the focus.
class OpensOnClick final : public QObject {
public:
    OpensOnClick(QObject* parent, std::function<void()> open)
        : QObject(parent), open_(std::move(open)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool click = event->type() == QEvent::MouseButtonRelease &&
                           static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        const bool enter = event->type() == QEvent::KeyPress &&
                           (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
        if (click || enter)
            open_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> open_;
};

} // namespace

// The window opens with a click on the price box, or Enter while it has the
// focus. A button inside the box would take a third of its 65 pixels and
// hide the leading digits of a price such as "12 345 ₽"; the box itself keeps
// its place and size.
void MainWindow::SetUpPriceBox() {
    priceBox_->setReadOnly(true);
    priceBox_->setCursor(Qt::PointingHandCursor);
    priceBox_->setToolTip(QStringLiteral("Стоимость заказа. Щелчок открывает смету"));
    priceBox_->installEventFilter(
        new OpensOnClick(priceBox_, [this] { Handle([this] { ShowEstimate(); }); }));
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
        const PlanValue& value = cutting->CurrentPlan();
        const cutting::Plan& made = value.result.plan;
        plan = EstimateWindow::Plan{made.bars, made.boughtLength,
                                    sheets::PlanSheet(made, value.settings)};
    }
    estimate->SetPlan(plan);
}

void MainWindow::ShowPrice() {
    priceBox_->setText(estimate_.Get().PriceText());
    // A price wider than the box shows its leading digits.
    priceBox_->setCursorPosition(0);
}
