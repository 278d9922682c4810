#include "forms/main/frm_main.h"

void FrmMain::GDraw(double) {}
void FrmMain::Form_Paint() {}
void FrmMain::Image1_Click() {}
