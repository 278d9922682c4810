#include "forms/main/frm_main.h"
#include "frm_report.h"
#include "frm_sux.h"

FrmReport::FrmReport() : QWidget(nullptr, Qt::FramelessWindowHint) {}
FrmSux::FrmSux() : QWidget(nullptr, Qt::Tool) { setAttribute(Qt::WA_DeleteOnClose); }

FrmReport& FrmMain::reportWindow() {
    if (!report_)
        report_ = new FrmReport();
    return *report_;
}

FrmSux& FrmMain::suxWindow() {
    if (!sux_)
        sux_ = new FrmSux();
    return *sux_;
}

void FrmMain::cmdCreate_Click() {}
void FrmMain::cmdShow_Click() {}
void FrmMain::cmdPrint_Click() {}
