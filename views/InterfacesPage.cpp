// Scaffolding: replaced by the real implementation of this file.
#include "app/Main_Unit.h"

void TMainForm::buildInterfacesPage(QWidget*) {}
void TMainForm::InterfacesClick() {}
void TMainForm::InterfaceTable_ButClick(QObject*) {}
