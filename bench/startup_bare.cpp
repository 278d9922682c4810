// The yardstick for startup_main: a bare window of the same size that quits
// after its first paint.

#include "forms/widgets/look.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

class QuitAfterFirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

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
