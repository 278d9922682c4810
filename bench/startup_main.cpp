// Start-up of the program's main window: builds it as the program does and
// quits after its first paint. Timed against startup_bare.

#include "forms/main/frm_main.h"
#include "forms/widgets/look.h"
#include "forms/widgets/messenger.h"

#include "quit_after_first_paint.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ApplyProgramLook();
    model::Order order;
    MessageBoxMessenger messenger;
    FrmMain window(order, messenger);
    QuitAfterFirstPaint quitter;
    window.installEventFilter(&quitter);
    window.show();
    return QApplication::exec();
}
