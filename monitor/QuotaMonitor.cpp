// Scaffolding: replaced by the real implementation of this file.
#include "app/Main_Unit.h"

void TMainForm::buildQuotaPage(QWidget*) {}
void TMainForm::QuotaClick(QObject*) {}
void TMainForm::CalcQuota_ButClick(QObject*) {}
void TMainForm::ReDefGB_ButClick(QObject*) {}
void TMainForm::ReDefMB_ButClick(QObject*) {}
void TMainForm::Quota_TimerTimer(QObject*) {}
QString TMainForm::FormatGbMb(const QString&) const { return {}; }
QString TMainForm::FormatMbNumber(const QString&) const { return QStringLiteral("0"); }
double TMainForm::QuotaUsedBytes() const { return 0; }
QString TMainForm::MBUsedAtClose() { return QStringLiteral("0"); }
