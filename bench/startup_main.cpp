// Start-up of the program's main window: builds it as the program does and
// quits after its first paint. Timed against startup_bare.

#include "main_window/main_window.h"
#include "widgets/look.h"
#include "widgets/messenger.h"

#include "quit_after_first_paint.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ApplyProgramLook();
    model::Order order;
    MessageBoxMessenger messenger;
    MainWindow window(order, messenger);
    QuitAfterFirstPaint quitter;
    window.installEventFilter(&quitter);
    window.show();
    return QApplication::exec();
}
