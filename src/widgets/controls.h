#pragma once

// Small factories for the windows' controls, and the conversions between a
// text box and a number that every window uses.

#include "model/numbers.h"
#include "spinner.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cmath>

// IntegerText as a QString.
inline QString NumberText(long long v) {
    return QString::fromStdString(model::IntegerText(v));
}

// ParseNumber of a box's text.
inline double BoxValue(const QLineEdit* box) {
    return model::ParseNumber(box->text().toStdString());
}

// A whole number of at least `least` (and at most a billion) as a text reads,
// or -1 when it is not one: how the cutting window reads lengths and counts.
inline int WholeNumber(const QString& text, int least) {
    const double v = model::ParseNumber(text.toStdString());
    if (!std::isfinite(v) || v != std::floor(v) || v < least || v > 1e9)
        return -1;
    return static_cast<int>(v);
}

// ToInteger(ParseNumber(text)) of a box.
inline model::int16 BoxNumber(const QLineEdit* box) {
    return model::ToInteger(BoxValue(box));
}

template <class T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

inline QLabel* MakeLabel(QWidget* parent, const char* name, const char* text) {
    return Named(new QLabel(QString::fromUtf8(text), parent), name);
}

// A box named for screen readers by its label.
inline QLineEdit* MakeBox(QWidget* parent, const char* name, const char* text, QLabel* label) {
    auto* box = Named(new QLineEdit(QString::fromUtf8(text), parent), name);
    if (label)
        label->setBuddy(box);
    return box;
}

inline QLineEdit* MakeLockedBox(QWidget* parent, const char* name, QLabel* label) {
    QLineEdit* box = MakeBox(parent, name, "", label);
    box->setReadOnly(true);
    return box;
}

inline QPushButton* MakeButton(QWidget* parent, const char* name, const char* text) {
    auto* button = Named(new QPushButton(QString::fromUtf8(text), parent), name);
    button->setAutoDefault(false);
    return button;
}

inline Spinner* MakeSpinner(QWidget* parent, const char* name, Qt::Orientation orientation, int min,
                            int max, int value, const QString& accessibleName) {
    auto* spinner = Named(new Spinner(orientation, parent), name);
    spinner->SetRange(min, max);
    spinner->SetValueClamped(value);
    spinner->setAccessibleName(accessibleName);
    return spinner;
}

// A multi-line text box.
inline QPlainTextEdit* MakeTextArea(QWidget* parent, const char* name) {
    return Named(new QPlainTextEdit(parent), name);
}

inline QGroupBox* MakeFrame(QWidget* parent, const char* name, const char* caption) {
    return Named(new QGroupBox(QString::fromUtf8(caption), parent), name);
}
