#pragma once

#include "messenger.h"
#include "model/errors.h"

#include <QString>
#include <QWidget>

#include <exception>
#include <new>

// Runs one event handler as one operation: a run-time error ends it where it
// was raised, whatever it stored stays stored, and the user is told. Nothing
// escapes into Qt's signal machinery.
template <class Handler>
void RunHandler(Messenger& messenger, QWidget* parent, Handler&& handler) noexcept {
    QString text;
    try {
        handler();
        return;
    } catch (const model::RuntimeError& e) {
        text = QString::fromUtf8(e.what());
    } catch (const std::bad_alloc&) {
        text = QStringLiteral("Недостаточно памяти для выполнения операции.");
    } catch (const std::exception& e) {
        text = QStringLiteral("Внутренняя ошибка: %1").arg(QString::fromUtf8(e.what()));
    } catch (...) {
        text = QStringLiteral("Внутренняя ошибка.");
    }
    try {
        messenger.Error(parent, text);
    } catch (...) {
        // Nothing sensible is left to do when the message itself fails.
    }
}

// Runs `handler` of `window` as one operation each time `sender` emits
// `signal`: the one way every window attaches its handlers. The signal's
// arguments are not passed on; a handler reads what it needs from the
// controls.
template <class Sender, class Signal, class Window>
void ConnectHandler(Sender* sender, Signal signal, Window* window, Messenger& messenger,
                    void (Window::*handler)()) {
    QObject::connect(sender, signal, window, [window, &messenger, handler] {
        RunHandler(messenger, window, [window, handler] { (window->*handler)(); });
    });
}
