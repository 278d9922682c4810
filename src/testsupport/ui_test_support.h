#pragma once

// Support for in-process window tests: a messenger that records instead of
// showing boxes, and a main() that runs offscreen.

#include "widgets/look.h"
#include "widgets/messenger.h"

#include <QApplication>
#include <QStandardPaths>
#include <QStringList>
#include <QWidget>

#include <stdexcept>
#include <string>

class RecordingMessenger final : public Messenger {
public:
    void Error(QWidget*, const QString& text) override { errors << text; }
    void Info(QWidget*, const QString& title, const QString& text) override {
        infos << title + QStringLiteral(": ") + text;
    }
    QString SaveFileName(QWidget*, const QString&, const QString& suggested,
                         const QString&) override {
        suggestions << suggested;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }

    void Clear() {
        errors.clear();
        infos.clear();
        suggestions.clear();
    }

    QStringList errors;
    QStringList infos;
    QStringList suggestions;
    // Answers given to the save dialogs, first in first out; none means cancel.
    QStringList saveAnswers;
};

// A report text as a text box shows it: line ends without CR.
inline QString Lf(const std::string& text) {
    return QString::fromStdString(text).remove(QLatin1Char('\r'));
}

// The text of a PDF file as pdftotext lays it out; a form feed ends each
// sheet. Empty when the file cannot be read.
QString PdfText(const QString& file);

// The names of the widgets the keyboard focus visits when Tab is pressed
// `presses` times from the widget that has it now.
QStringList TabChain(int presses);

// The main() of a window test: offscreen, with the program's style and font;
// per-user files (the price list) go to a test folder, never the user's.
#define RESHETKI_UI_TEST_MAIN(TestClass)                                                           \
    int main(int argc, char** argv) {                                                              \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                   \
        QApplication app(argc, argv);                                                              \
        QStandardPaths::setTestModeEnabled(true);                                                  \
        ApplyProgramLook();                                                                        \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

// The control of that object name and type in `window`; a test that names
// one the window does not have stops there.
template <class T> T* Find(const QWidget& window, const char* name) {
    T* control = window.findChild<T*>(QString::fromLatin1(name));
    if (control == nullptr)
        throw std::logic_error(std::string("no control ") + name);
    return control;
}
