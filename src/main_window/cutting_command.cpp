// "Оптимизировать": the cutting plan of the cut lists of the last report
// build in the window "Раскрой".

#include "main_window.h"

#include "optimize/order_pieces.h"
#include "views/cutting/cutting_window.h"

#include <QLineEdit>

void MainWindow::PlanCutting() {
    cutting_.Show().Plan(cutting::PiecesOf(builtCuts_), stockLengthBox_->text());
}

void MainWindow::ReplanAfterBuild() {
    // With the stock length the window was opened with.
    CuttingWindow* window = cutting_.Existing();
    if (window && window->isVisible())
        window->Plan(cutting::PiecesOf(builtCuts_), window->StockText());
}
