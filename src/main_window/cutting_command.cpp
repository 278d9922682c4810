// "Оптимизировать": the cutting plan of the order's cut lists in the window
// "Раскрой".

#include "main_window.h"

#include "optimize/order_pieces.h"
#include "views/cutting/cutting_window.h"

#include <QLineEdit>

void MainWindow::cmdOptimize_Click() {
    // Read before showing anything: a grille count beyond the tables stops here.
    const std::vector<cutting::CutItem> items = cutting::OrderCutList(order_);
    cutting_.Show().Plan(items, txtLen->text());
}

void MainWindow::ReplanAfterBuild() {
    // With the stock length the window was opened with.
    CuttingWindow* window = cutting_.Existing();
    if (window && window->isVisible())
        window->Plan(cutting::OrderCutList(order_), window->txtStock->text());
}
