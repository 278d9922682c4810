// The drawing of the current grille, the main window's paint handling and the
// greeting behind the order frame's image.

#include "forms/main/frm_main.h"

#include "drawing/grille_geometry.h"
#include "drawing/grille_picture.h"
#include "forms/widgets/messenger.h"
#include "model/numbers.h"

#include <QLineEdit>

void FrmMain::GDraw(double n) {
    // A drawing that fails ends silently and leaves the picture as it stands
    // from that moment on.
    try {
        drawing::GrilleDrawing plan = drawing::PlanGrille(order_, n, Picture1->OuterWidthTwips(),
                                                          Picture1->OuterHeightTwips());
        if (plan.cleared)
            Picture1->SetDrawing(std::move(plan.bars));
    } catch (...) {
    }
}

void FrmMain::Form_Paint() {
    try {
        GDraw(model::ParseNumber(txtPNumber->text().toStdString()));
    } catch (...) {
    }
}

void FrmMain::paintEvent(QPaintEvent*) {
    // The picture repaints itself from its kept bars; drawing again here only
    // asks it for another repaint when the grille has changed meanwhile.
    Form_Paint();
}

void FrmMain::Image1_Click() {
    messenger().Info(this, QStringLiteral("KX"), QStringLiteral("Hello!!! :))) How are you??? ;)"));
}
