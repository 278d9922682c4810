#include "correction_dialog.h"

#include "correction_host.h"
#include "model/grille_rules.h"
#include "model/numbers.h"
#include "model/order.h"
#include "model/sizing.h"
#include "widgets/controls.h"
#include "widgets/handler.h"
#include "widgets/spinner.h"
#include "widgets/twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

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

    fraCZLeft = MakeFrame(this, "fraCZLeft", "Корректировка боковых зазоров");
    Label1 = MakeLabel(fraCZLeft, "Label1", "Новое значение");
    txtNewZLeft = MakeLockedBox(fraCZLeft, "txtNewZLeft", Label1);
    HScroll1 = MakeSpinner(fraCZLeft, "HScroll1", Qt::Horizontal, model::SideGapRange.least,
                           model::SideGapRange.most, model::SideGapRange.least,
                           QStringLiteral("Боковой зазор"));

    fraCStep = MakeFrame(this, "fraCStep", "Корректировка шага");
    Label2 = MakeLabel(fraCStep, "Label2", "Новое значение");
    txtNewStep = MakeLockedBox(fraCStep, "txtNewStep", Label2);
    HScroll2 = MakeSpinner(fraCStep, "HScroll2", Qt::Horizontal, model::StepRange.least,
                           model::StepRange.most, model::StepRange.least, QStringLiteral("Шаг"));
    cmdDecStep = MakeButton(fraCStep, "cmdDecStep", "Убрать один шаг");

    chkDouble = Named(new QCheckBox(QStringLiteral("Двойной пояс"), this), "chkDouble");

    Place(fraCZLeft, 120, 0, 3015, 1215);
    PlaceAt(Label1, 120, 270);
    Place(txtNewZLeft, 1560, 240, 1335, 285);
    Place(HScroll1, 120, 720, 2775, 255);
    Place(fraCStep, 120, 1320, 3015, 1815);
    PlaceAt(Label2, 120, 270);
    Place(txtNewStep, 1560, 240, 1335, 285);
    Place(HScroll2, 120, 720, 2775, 255);
    Place(cmdDecStep, 120, 1200, 2775, 375);
    Place(chkDouble, 120, 3240, 3015, 255);

    QWidget* order[] = {txtNewZLeft, chkDouble, HScroll1, txtNewStep, HScroll2, cmdDecStep};
    for (std::size_t k = 1; k < std::size(order); ++k)
        QWidget::setTabOrder(order[k - 1], order[k]);

    ConnectHandlers();
}

void CorrectionDialog::ConnectHandlers() {
    Messenger& messenger = host_.Messages();
    ConnectHandler(HScroll1, &Spinner::Change, this, messenger, &CorrectionDialog::HScroll1_Change);
    ConnectHandler(HScroll2, &Spinner::Change, this, messenger, &CorrectionDialog::HScroll2_Change);
    ConnectHandler(txtNewZLeft, &QLineEdit::textChanged, this, messenger,
                   &CorrectionDialog::txtNewZLeft_Change);
    ConnectHandler(txtNewStep, &QLineEdit::textChanged, this, messenger,
                   &CorrectionDialog::txtNewStep_Change);
    ConnectHandler(cmdDecStep, &QPushButton::clicked, this, messenger,
                   &CorrectionDialog::cmdDecStep_Click);
    ConnectHandler(chkDouble, &QCheckBox::toggled, this, messenger,
                   &CorrectionDialog::chkDouble_Click);
}

void CorrectionDialog::Prime() {
    // The four controls are set one by one and, until the last, mix two
    // grilles: nothing they set off may write a table.
    const QScopedValueRollback<bool> priming(priming_, true);
    const model::Order& order = host_.Order();
    txtNewStep->setText(NumberText(order.GrilleAt(host_.CurrentGrille()).t));
    txtNewZLeft->setText(NumberText(order.OpeningAt(host_.CurrentGrille()).SideGap));
    HScroll2->SetValueClamped(order.GrilleAt(host_.CurrentGrille()).t);
    HScroll1->SetValueClamped(order.OpeningAt(host_.CurrentGrille()).SideGap);
}

void CorrectionDialog::HScroll1_Change() {
    // While priming, the text already shows the true value, which a scroll
    // bar stopped at its end must not overwrite.
    if (priming_)
        return;
    txtNewZLeft->setText(NumberText(HScroll1->Value()));
}

void CorrectionDialog::HScroll2_Change() {
    if (priming_)
        return;
    txtNewStep->setText(NumberText(HScroll2->Value()));
}

void CorrectionDialog::txtNewStep_Change() {
    txtNewZLeft_Change();
}

void CorrectionDialog::txtNewZLeft_Change() {
    if (priming_)
        return;
    model::Order& order = host_.Order();
    order.SetOpeningSideGap(host_.CurrentGrille(), BoxNumber(txtNewZLeft));
    order.SetGrilleStep(host_.CurrentGrille(), BoxNumber(txtNewStep));
    // The number of steps stays as the user left it, so the difference goes
    // into the two side inserts.
    model::SizeGrilleFrame(order, host_.CurrentGrille());
    model::SizeGrilleInserts(order, host_.CurrentGrille());
    host_.GrilleRecomputed();
}

void CorrectionDialog::cmdDecStep_Click() {
    model::Grille& g = host_.Order().GrilleAt(host_.CurrentGrille());
    g.n = model::Sub(g.n, 1);
    txtNewZLeft_Change();
    host_.GrilleRecomputed();
}

void CorrectionDialog::chkDouble_Click() {
    host_.Order().GrilleAt(host_.CurrentGrille()).DoubleBelt =
        chkDouble->isChecked() ? model::True16 : model::False16;
    host_.BeltChanged();
}
