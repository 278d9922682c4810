#pragma once

#include <QScrollBar>

// A scroll bar with the semantics the windows rely on: Min is the end nearest
// the top (or left) arrow and may lie above Max, so that a spinner whose Min is
// the larger number goes up with its up arrow. Qt needs minimum <= maximum, so
// such a range is held negated inside the QScrollBar.
//
// Change() is emitted synchronously whenever the value really changes: through
// SetValue, through a range change that moves the value into the new range, or
// through the user. Assigning the value it already holds emits nothing.
class Spinner : public QScrollBar {
    Q_OBJECT
public:
    explicit Spinner(Qt::Orientation orientation, QWidget* parent = nullptr);

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Value() const { return value_; }

    void SetMin(int min) { SetRange(min, max_); }
    void SetMax(int max) { SetRange(min_, max); }
    void SetRange(int min, int max);
    // Raises the invalid-property-value error for a value outside the range.
    void SetValue(int value);
    // Sets a value outside the range by moving it to the nearest end, without
    // an error; emits Change() only if the value differs.
    void SetValueClamped(int value);

signals:
    void Change();

private:
    bool Reversed() const { return min_ > max_; }
    int ToRaw(int value) const { return Reversed() ? -value : value; }
    void SyncWidget();
    void OnRawValueChanged(int raw);

    int min_ = 0;
    int max_ = 0;
    int value_ = 0;
    bool syncing_ = false;
};
