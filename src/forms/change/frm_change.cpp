#include "frm_change.h"

#include "forms/main/frm_main.h"
#include "forms/widgets/controls.h"
#include "forms/widgets/handler.h"
#include "forms/widgets/spinner.h"
#include "forms/widgets/twips.h"
#include "model/numbers.h"
#include "model/sizing.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Clears a flag however the scope is left.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool old_;
};

} // namespace

FrmChange::FrmChange(FrmMain& main)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      main_(main) {
    setObjectName(QStringLiteral("frmChange"));
    setWindowTitle(QStringLiteral("Корректировка"));
    // Closing through the frame unloads the dialog; it is created afresh on
    // next use.
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(Px(3210), Px(3585));

    fraCZLeft = MakeFrame(this, "fraCZLeft", "Корректировка боковых зазоров");
    Label1 = MakeLabel(fraCZLeft, "Label1", "Новое значение");
    txtNewZLeft = MakeLockedBox(fraCZLeft, "txtNewZLeft", Label1);
    HScroll1 = MakeSpinner(fraCZLeft, "HScroll1", Qt::Horizontal, 0, 40, 0,
                           QStringLiteral("Боковой зазор"));

    fraCStep = MakeFrame(this, "fraCStep", "Корректировка шага");
    Label2 = MakeLabel(fraCStep, "Label2", "Новое значение");
    txtNewStep = MakeLockedBox(fraCStep, "txtNewStep", Label2);
    HScroll2 =
        MakeSpinner(fraCStep, "HScroll2", Qt::Horizontal, 100, 170, 100, QStringLiteral("Шаг"));
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

    connectHandlers();

    // The dialog lives no longer than the window whose grilles it corrects.
    connect(&main_, &QObject::destroyed, this, [this] { delete this; });
}

void FrmChange::connectHandlers() {
    auto run = [this](void (FrmChange::*handler)()) {
        return [this, handler] {
            RunHandler(main_.messenger(), this, [this, handler] { (this->*handler)(); });
        };
    };
    connect(HScroll1, &Spinner::Change, this, run(&FrmChange::HScroll1_Change));
    connect(HScroll2, &Spinner::Change, this, run(&FrmChange::HScroll2_Change));
    connect(txtNewZLeft, &QLineEdit::textChanged, this, run(&FrmChange::txtNewZLeft_Change));
    connect(txtNewStep, &QLineEdit::textChanged, this, run(&FrmChange::txtNewStep_Change));
    connect(cmdDecStep, &QPushButton::clicked, this, run(&FrmChange::cmdDecStep_Click));
    connect(chkDouble, &QCheckBox::toggled, this, run(&FrmChange::chkDouble_Click));
}

model::int16 FrmChange::Current() const {
    return static_cast<model::int16>(
        model::ToIndex(model::ParseNumber(main_.txtPNumber->text().toStdString())));
}

void FrmChange::Prime() {
    // The four controls are set one by one and, until the last, mix two
    // grilles: nothing they set off may write a table.
    FlagScope priming(priming_);
    const model::Order& order = main_.order();
    txtNewStep->setText(NumberText(order.GrilleAt(Current()).t));
    txtNewZLeft->setText(NumberText(order.OpeningAt(Current()).SideGap));
    HScroll2->SetValueClamped(order.GrilleAt(Current()).t);
    HScroll1->SetValueClamped(order.OpeningAt(Current()).SideGap);
}

void FrmChange::HScroll1_Change() {
    // While priming, the text already shows the true value, which a scroll
    // bar stopped at its end must not overwrite.
    if (priming_)
        return;
    txtNewZLeft->setText(NumberText(HScroll1->Value()));
}

void FrmChange::HScroll2_Change() {
    if (priming_)
        return;
    txtNewStep->setText(NumberText(HScroll2->Value()));
}

void FrmChange::txtNewStep_Change() {
    txtNewZLeft_Change();
}

void FrmChange::txtNewZLeft_Change() {
    if (priming_)
        return;
    model::Order& order = main_.order();
    order.SetOpeningSideGap(Current(), BoxNumber(txtNewZLeft));
    order.SetGrilleStep(Current(), BoxNumber(txtNewStep));
    // The number of steps stays as the user left it, so the difference goes
    // into the two side inserts.
    model::SizeGrilleFrame(order, Current());
    model::SizeGrilleInserts(order, Current());
    main_.txtPNumber_Change();
}

void FrmChange::cmdDecStep_Click() {
    model::Grille& g = main_.order().GrilleAt(Current());
    g.n = model::Sub(g.n, 1);
    txtNewZLeft_Change();
    main_.txtPNumber_Change();
}

void FrmChange::chkDouble_Click() {
    main_.order().GrilleAt(Current()).DoubleBelt =
        chkDouble->isChecked() ? model::True16 : model::False16;
    main_.txtPWidth_Change();
}

// --- The main window's side of the dialog ------------------------------------

FrmChange& FrmMain::changeDialog() {
    if (!change_) {
        change_ = new FrmChange(*this);
        // A fresh dialog would otherwise hold its empty start texts, which the
        // next move of a scroll bar would write into the current grille.
        change_->Prime();
    }
    return *change_;
}

void FrmMain::PrimeChangeDialog(double) {
    // Every caller passes the number in txtPNumber; the dialog reads that box
    // afresh for each control, as the recompute does.
    changeDialog().Prime();
}

void FrmMain::cmdChange_Click() {
    // Follows what the user sees: a dialog closed through its frame counts as
    // hidden, so the next press shows it again.
    if (change_ && change_->isVisible()) {
        change_->hide();
        ChangeShown = false;
        return;
    }
    FrmChange& dialog = changeDialog();
    dialog.Prime();
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    ChangeShown = true;
}
