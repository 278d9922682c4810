#include "messenger.h"

#include <QFileDialog>
#include <QMessageBox>

void MessageBoxMessenger::Error(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, QStringLiteral("Ошибка"), text);
}

void MessageBoxMessenger::Info(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text);
}

QString MessageBoxMessenger::SaveFileName(QWidget* parent, const QString& title,
                                          const QString& suggested, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, suggested, filter);
}
