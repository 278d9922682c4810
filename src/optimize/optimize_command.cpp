#include "forms/main/frm_main.h"
#include "frm_cutting.h"
#include "order_pieces.h"

#include <QLineEdit>
#include <QPushButton>

void FrmMain::cmdOptimize_Click() {
    if (cutting_.isNull()) {
        cutting_ = new FrmCutting(messenger());
        FrmCutting* window = cutting_;
        connect(this, &QObject::destroyed, window, [window] { delete window; });
        // A new report build re-plans an open window from the rebuilt order,
        // with the stock length it was opened with.
        connect(cmdCreate, &QPushButton::clicked, window, [this, window] {
            if (window->isVisible())
                Handle([&] {
                    window->Plan(cutting::OrderCutList(order()), window->txtStock->text());
                });
        });
    }
    // Read before showing anything: a grille count beyond the tables stops here.
    const std::vector<cutting::CutItem> items = cutting::OrderCutList(order());
    cutting_->show();
    cutting_->raise();
    cutting_->Plan(items, txtLen->text());
}
