// Scaffolding: replaced by the real implementation of this file.
#include "app/Main_Unit.h"

void TMainForm::buildIcmpPage(QWidget*) {}
void TMainForm::buildSnmpPage(QWidget*) {}
void TMainForm::ICMPClick(QObject*) {}
void TMainForm::SNMPClick(QObject*) {}
