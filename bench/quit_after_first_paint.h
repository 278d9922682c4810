#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

// Ends the program once the watched window has painted for the first time.
class QuitAfterFirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};
