#pragma once

#include <QString>

class QWidget;

// Everything the windows ask of the user or tell the user goes through one
// object, so that tests can answer instead of a person.
class Messenger {
public:
    virtual ~Messenger() = default;
    // A failed operation: a critical message box titled "Ошибка".
    virtual void Error(QWidget* parent, const QString& text) = 0;
    // A plain notice with an information icon and an OK button.
    virtual void Info(QWidget* parent, const QString& title, const QString& text) = 0;
    // A save dialog; an empty result means the user cancelled.
    virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& suggested,
                                 const QString& filter) = 0;
};

class MessageBoxMessenger final : public Messenger {
public:
    void Error(QWidget* parent, const QString& text) override;
    void Info(QWidget* parent, const QString& title, const QString& text) override;
    QString SaveFileName(QWidget* parent, const QString& title, const QString& suggested,
                         const QString& filter) override;
};
