#include "correction_dialog.h"

#include "correction_host.h"
#include "model/grille_rules.h"
#include "model/numbers.h"
#include "model/order.h"
#include "model/sizing.h"
#include "widgets/controls.h"
#include "widgets/handler.h"
#include "widgets/layout_table.h"
#include "widgets/spinner.h"
#include "widgets/twips.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {

// clang-format off
const ControlRow Layout[] = {
    // name          kind                    parent       caption                            left   top  width height tab
    {"fraCZLeft",   ControlKind::Frame,     nullptr,     "Корректировка боковых зазоров",    120,     0, 3015, 1215},
    {"Label1",      ControlKind::Label,     "fraCZLeft", "Новое значение",                   120,   270,    0,    0},
    {"txtNewZLeft", ControlKind::LockedBox, "fraCZLeft", nullptr,                           1560,   240, 1335,  285, 1},
    {"HScroll1",    ControlKind::Made,      "fraCZLeft", nullptr,                            120,   720, 2775,  255, 3},
    {"fraCStep",    ControlKind::Frame,     nullptr,     "Корректировка шага",               120,  1320, 3015, 1815},
    {"Label2",      ControlKind::Label,     "fraCStep",  "Новое значение",                   120,   270,    0,    0},
    {"txtNewStep",  ControlKind::LockedBox, "fraCStep",  nullptr,                           1560,   240, 1335,  285, 4},
    {"HScroll2",    ControlKind::Made,      "fraCStep",  nullptr,                            120,   720, 2775,  255, 5},
    {"cmdDecStep",  ControlKind::Button,    "fraCStep",  "Убрать один шаг",                  120,  1200, 2775,  375, 6},
    {"chkDouble",   ControlKind::CheckBox,  nullptr,     "Двойной пояс",                     120,  3240, 3015,  255, 2},
};
// clang-format on

ControlMaker Slider(model::Range range, const char* accessibleName) {
    return [range, accessibleName](QWidget* parent) {
        return MakeSpinner(parent, "", Qt::Horizontal, range.least, range.most, range.least,
                           QString::fromUtf8(accessibleName));
    };
}

} // namespace

CorrectionDialog::CorrectionDialog(CorrectionHost& host)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      host_(host) {
    setObjectName(QStringLiteral("frmChange"));
    setWindowTitle(QStringLiteral("Корректировка"));
    // Closing through the frame unloads the dialog; it is created afresh on
    // next use.
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(Px(3210), Px(3585));

    const Controls controls(this, Layout,
                            {{"HScroll1", Slider(model::SideGapRange, "Боковой зазор")},
                             {"HScroll2", Slider(model::StepRange, "Шаг")}});
    gapBox_ = controls.Get<QLineEdit>("txtNewZLeft");
    gapSlider_ = controls.Get<Spinner>("HScroll1");
    stepBox_ = controls.Get<QLineEdit>("txtNewStep");
    stepSlider_ = controls.Get<Spinner>("HScroll2");
    dropStepButton_ = controls.Get<QPushButton>("cmdDecStep");
    doubleBeltBox_ = controls.Get<QCheckBox>("chkDouble");
    ConnectHandlers();
}

void CorrectionDialog::ConnectHandlers() {
    Messenger& messenger = host_.Messages();
    ConnectHandler(gapSlider_, &Spinner::Change, this, messenger, &CorrectionDialog::ShowSlidGap);
    ConnectHandler(stepSlider_, &Spinner::Change, this, messenger, &CorrectionDialog::ShowSlidStep);
    ConnectHandler(gapBox_, &QLineEdit::textChanged, this, messenger, &CorrectionDialog::Recompute);
    ConnectHandler(stepBox_, &QLineEdit::textChanged, this, messenger,
                   &CorrectionDialog::Recompute);
    ConnectHandler(dropStepButton_, &QPushButton::clicked, this, messenger,
                   &CorrectionDialog::DropOneStep);
    ConnectHandler(doubleBeltBox_, &QCheckBox::toggled, this, messenger,
                   &CorrectionDialog::MarkDoubleBelt);
}

void CorrectionDialog::Prime() {
    // The four controls are set one by one and, until the last, mix two
    // grilles: nothing they set off may write a table.
    const QScopedValueRollback<bool> priming(priming_, true);
    const model::Order& order = host_.Order();
    stepBox_->setText(NumberText(order.GrilleAt(host_.CurrentGrille()).t));
    gapBox_->setText(NumberText(order.OpeningAt(host_.CurrentGrille()).SideGap));
    stepSlider_->SetValueClamped(order.GrilleAt(host_.CurrentGrille()).t);
    gapSlider_->SetValueClamped(order.OpeningAt(host_.CurrentGrille()).SideGap);
}

void CorrectionDialog::ShowSlidGap() {
    // While priming, the text already shows the true value, which a slider
    // stopped at its end must not overwrite.
    if (priming_)
        return;
    gapBox_->setText(NumberText(gapSlider_->Value()));
}

void CorrectionDialog::ShowSlidStep() {
    if (priming_)
        return;
    stepBox_->setText(NumberText(stepSlider_->Value()));
}

void CorrectionDialog::Recompute() {
    if (priming_)
        return;
    model::Order& order = host_.Order();
    order.SetOpeningSideGap(host_.CurrentGrille(), BoxNumber(gapBox_));
    order.SetGrilleStep(host_.CurrentGrille(), BoxNumber(stepBox_));
    // The number of steps stays as the user left it, so the difference goes
    // into the two side inserts.
    model::SizeGrilleFrame(order, host_.CurrentGrille());
    model::SizeGrilleInserts(order, host_.CurrentGrille());
    host_.GrilleRecomputed();
}

void CorrectionDialog::DropOneStep() {
    model::Grille& g = host_.Order().GrilleAt(host_.CurrentGrille());
    g.n = model::Sub(g.n, 1);
    Recompute();
    host_.GrilleRecomputed();
}

void CorrectionDialog::MarkDoubleBelt() {
    host_.Order().GrilleAt(host_.CurrentGrille()).DoubleBelt =
        doubleBeltBox_->isChecked() ? model::True16 : model::False16;
    host_.BeltChanged();
}
