#include "frm_change.h"

#include "forms/main/frm_main.h"

FrmChange::FrmChange(FrmMain&) : QWidget(nullptr, Qt::Tool) {
    setAttribute(Qt::WA_DeleteOnClose);
}

FrmChange& FrmMain::changeDialog() {
    if (!change_)
        change_ = new FrmChange(*this);
    return *change_;
}

void FrmMain::PrimeChangeDialog(double) { changeDialog(); }
void FrmMain::cmdChange_Click() {}
