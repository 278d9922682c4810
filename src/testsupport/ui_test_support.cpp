#include "ui_test_support.h"

#include "widgets/look.h"

#include <QProcess>
#include <QStandardPaths>
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

QString PdfText(const QString& file) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), file, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
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
    // Per-user files (the price list) go to a test folder, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    ApplyProgramLook();
}
