#include "forms/main/frm_main.h"

void FrmMain::cmdONew_Click() {}
void FrmMain::cmdOOpen_Click() {}
void FrmMain::cmdOSave_Click() {}
void FrmMain::txtONumber_Change() {}
