#include "forms/main/frm_main.h"
#include "frm_cutting.h"

FrmCutting::FrmCutting() : QWidget(nullptr, Qt::Tool) {}

void FrmMain::cmdOptimize_Click() {}
