#include "ui_test_support.h"

#include "widgets/look.h"

#include <QTest>
#include <QWidget>

ModalGuard::ModalGuard() {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            seen_ << modal->windowTitle();
            modal->close();
        }
    });
    timer_.start();
}

ModalGuard::~ModalGuard() {
    timer_.stop();
}

QStringList TabChain(int presses) {
    QStringList names;
    for (int k = 0; k < presses && QApplication::focusWidget(); ++k) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        names << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                              : QStringLiteral("(none)"));
    }
    return names;
}

void PrepareTestApplication() {
    ApplyProgramLook();
}
