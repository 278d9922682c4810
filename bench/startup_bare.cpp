// The yardstick for startup_main: a bare window of the same size that quits
// after its first paint.

#include "widgets/look.h"

#include "quit_after_first_paint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ApplyProgramLook();
    QWidget window;
    window.setFixedSize(728, 480);
    QuitAfterFirstPaint quitter;
    window.installEventFilter(&quitter);
    window.show();
    return QApplication::exec();
}
