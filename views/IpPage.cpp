// Scaffolding: replaced by the real implementation of this file.
#include "app/Main_Unit.h"

void TMainForm::buildIpPage(QWidget*) {}
void TMainForm::IPClick(QObject*) {}
void TMainForm::IP_PageControlChange(QObject*) {}
void TMainForm::IPAddrTable_ButClick(QObject*) {}
