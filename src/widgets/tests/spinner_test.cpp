// The scroll-bar adapter every spinner uses: ranges whose top end is the larger
// number, change events only on a real change, and the range error.

#include "model/errors.h"
#include "testsupport/ui_test_support.h"
#include "widgets/spinner.h"

#include <QSignalSpy>
#include <QTest>

class SpinnerTest : public QObject {
    Q_OBJECT
private slots:
    void upArrowRaisesAReversedSpinner() {
        Spinner s(Qt::Vertical);
        s.SetRange(60, 0);
        s.SetValue(1);
        QSignalSpy changes(&s, &Spinner::Change);
        s.triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(s.Value(), 2);
        s.triggerAction(QAbstractSlider::SliderSingleStepAdd);
        s.triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(s.Value(), 0);
        s.triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(s.Value(), 0);
        QCOMPARE(changes.count(), 3);
    }

    void assigningTheSameValueRunsNothing() {
        Spinner s(Qt::Vertical);
        s.SetRange(5, 1);
        s.SetValue(3);
        QSignalSpy changes(&s, &Spinner::Change);
        s.SetValue(3);
        s.SetRange(5, 1);
        QCOMPARE(changes.count(), 0);
        s.SetValue(4);
        QCOMPARE(changes.count(), 1);
    }

    void narrowingTheRangeMovesTheValue() {
        Spinner s(Qt::Vertical);
        s.SetRange(3, 1);
        s.SetValue(3);
        QSignalSpy changes(&s, &Spinner::Change);
        s.SetMin(2);
        QCOMPARE(s.Value(), 2);
        QCOMPARE(changes.count(), 1);
        // A range that flips its direction keeps the value where it can, and
        // its arrows turn with it: down now raises the value.
        s.SetRange(0, 10);
        QCOMPARE(s.Value(), 2);
        s.triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(s.Value(), 3);
    }

    void valueOutsideTheRangeIsAnError() {
        Spinner s(Qt::Horizontal);
        s.SetRange(0, 40);
        bool raised = false;
        try {
            s.SetValue(41);
        } catch (const model::RuntimeError& e) {
            raised = e.kind() == model::ErrorKind::InvalidPropertyValue;
        }
        QVERIFY(raised);
        QCOMPARE(s.Value(), 0);
        s.SetValueClamped(-5);
        QCOMPARE(s.Value(), 0);
        s.SetValueClamped(99);
        QCOMPARE(s.Value(), 40);
    }
};

RESHETKI_UI_TEST_MAIN(SpinnerTest)
#include "spinner_test.moc"
