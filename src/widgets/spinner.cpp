#include "spinner.h"

#include "model/errors.h"

#include <algorithm>

Spinner::Spinner(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {
    setSingleStep(1);
    setPageStep(1);
    setFocusPolicy(Qt::StrongFocus);
    SyncWidget();
    connect(this, &QAbstractSlider::valueChanged, this, &Spinner::OnRawValueChanged);
}

void Spinner::SetRange(int min, int max) {
    min_ = min;
    max_ = max;
    int lo = std::min(min, max);
    int hi = std::max(min, max);
    int old = value_;
    value_ = std::clamp(value_, lo, hi);
    SyncWidget();
    if (value_ != old)
        emit Change();
}

void Spinner::SetValue(int value) {
    if (value < std::min(min_, max_) || value > std::max(min_, max_))
        throw model::RuntimeError(model::ErrorKind::InvalidPropertyValue);
    SetValueClamped(value);
}

void Spinner::SetValueClamped(int value) {
    value = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
    if (value == value_)
        return;
    value_ = value;
    SyncWidget();
    emit Change();
}

void Spinner::SyncWidget() {
    syncing_ = true;
    if (Reversed())
        setRange(-min_, -max_);
    else
        setRange(min_, max_);
    QAbstractSlider::setValue(ToRaw(value_));
    syncing_ = false;
}

void Spinner::OnRawValueChanged(int raw) {
    if (syncing_)
        return;
    int value = Reversed() ? -raw : raw;
    if (value == value_)
        return;
    value_ = value;
    emit Change();
}
