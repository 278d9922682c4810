// The drawing of the current grille, the window's paint handling and the
// greeting behind the order frame's image.

#include "main_window.h"

#include "drawing/grille_geometry.h"
#include "model/numbers.h"
#include "views/picture/grille_picture.h"
#include "widgets/messenger.h"

#include <QLineEdit>

#include <new>

void MainWindow::DrawGrille(double n) {
    // A drawing that fails ends silently (PlanGrille) and leaves the picture
    // as it stands from that moment on.
    drawing::GrilleDrawing plan =
        drawing::PlanGrille(order_, n, picture_->OuterWidthTwips(), picture_->OuterHeightTwips());
    if (plan.cleared)
        picture_->SetDrawing(std::move(plan.bars));
}

void MainWindow::PaintGrille() {
    try {
        DrawGrille(model::ParseNumber(grilleNumberBox_->text().toStdString()));
    } catch (const std::bad_alloc&) {
        // A paint is no handler to report through: without memory for the
        // grille number's text the picture stays as it is until the next one.
    }
}

void MainWindow::paintEvent(QPaintEvent*) {
    // The picture repaints itself from its kept bars; drawing again here only
    // asks it for another repaint when the grille has changed meanwhile.
    PaintGrille();
}

void MainWindow::Greet() {
    messenger_.Info(this, QStringLiteral("KX"), QStringLiteral("Hello!!! :))) How are you??? ;)"));
}
