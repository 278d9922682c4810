#pragma once

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

// The program's look, the same in the program and in its window tests: the
// Fusion style, and a face with Cyrillic letters that fits the twip layout.
inline void ApplyProgramLook() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
}
