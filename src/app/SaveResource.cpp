// The Save resource as... command.
#include "app/FrmMain.h"

void FrmMain::MnuSaveResource_Click() {}
