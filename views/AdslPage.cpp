// Scaffolding: replaced by the real implementation of this file.
#include "app/Main_Unit.h"

void TMainForm::buildAdslPage(QWidget*) {}
void TMainForm::ADSLClick(QObject*) {}
void TMainForm::ADSL_PageControlChange(QObject*) {}
void TMainForm::SetVPI_ButClick(QObject*) {}
void TMainForm::SetVCI_ButClick(QObject*) {}
