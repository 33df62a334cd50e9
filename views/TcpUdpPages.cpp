// Scaffolding: replaced by the real implementation of this file.
#include "app/Main_Unit.h"

void TMainForm::buildTcpPage(QWidget*) {}
void TMainForm::buildUdpPage(QWidget*) {}
void TMainForm::TCPClick(QObject*) {}
void TMainForm::TCP_PageControlChange(QObject*) {}
void TMainForm::UDPClick(QObject*) {}
