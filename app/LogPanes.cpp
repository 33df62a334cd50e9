// Scaffolding: replaced by the real implementation of this file.
#include "app/Main_Unit.h"

void TMainForm::buildDebugPage(QWidget*) {}
void TMainForm::GenericSave_ButClick(QObject*) {}
void TMainForm::GenericCopy_ButClick(QObject*) {}
void TMainForm::GenericClear_ButClick(QObject*) {}
void TMainForm::DebugEnter(QObject*) {}
