// "Оптимизировать": the cutting plan of the cut lists of the last report
// build in the window "Раскрой", on the workshop's bar store, and "Склад".

#include "main_window.h"

#include "optimize/order_pieces.h"
#include "stock/stock_store.h"
#include "views/cutting/cutting_window.h"
#include "views/stock/stock_window.h"

#include <QDir>
#include <QLineEdit>
#include <QStandardPaths>

void MainWindow::PlanCutting() {
    CuttingWindow& window = cutting_.Show();
    window.SetOrder(builtBarSize_, builtOrderNumber_);
    window.Plan(cutting::PiecesOf(builtCuts_), stockLengthBox_->text());
}

void MainWindow::ReplanAfterBuild() {
    // With the stock length the window was opened with.
    CuttingWindow* window = cutting_.Existing();
    if (window && window->isVisible()) {
        window->SetOrder(builtBarSize_, builtOrderNumber_);
        window->Plan(cutting::PiecesOf(builtCuts_), window->StockText());
    }
}

stock::StockStore* MainWindow::Stock() {
    if (!stockTried_) {
        stockTried_ = true;
        const QString file =
            stockFile_.isEmpty()
                ? QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                      .filePath(QStringLiteral("stock.sqlite"))
                : stockFile_;
        stock::Result<stock::StockStore> opened = stock::StockStore::Open(file.toStdString());
        if (opened.ok)
            stock_ = std::make_unique<stock::StockStore>(std::move(opened.value));
        else
            messenger_.Error(this, QString::fromStdString(opened.error) +
                                       QStringLiteral(" Раскрой работает без склада."));
    }
    return stock_.get();
}

void MainWindow::ShowStock() {
    if (Stock() != nullptr)
        stockWindow_.Show().ShowBarSize(builtBarSize_);
}

void MainWindow::RefreshStock() {
    if (StockWindow* window = stockWindow_.Existing())
        window->Refresh();
}
