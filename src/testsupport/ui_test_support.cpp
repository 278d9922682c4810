#include "ui_test_support.h"

#include <QProcess>
#include <QTest>
#include <QWidget>

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
