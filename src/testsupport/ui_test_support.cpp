#include "ui_test_support.h"

#include "widgets/look.h"

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

void PrepareTestApplication() {
    ApplyProgramLook();
}
