// Data-quota monitor: the Quota page, the baseline ("Calculate"), the refresh, the monthly reset
// tick, the ISP's unit sizes ("Redefine") and the quota formatters.
#include "app/Main_Unit.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {

QLabel* makeLabel(QWidget* parent, const QString& text, int x, int y, int w, int h = 21) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(x, y, w, h);
    return l;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& text, int x, int y, int w) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setGeometry(x, y, w, 24);
    return e;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, int x, int y, int w) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, y, w, 28);
    return b;
}

} // namespace

void TMainForm::buildQuotaPage(QWidget* page) {
    // The bar with its scale; the scale labels sit at the height of their percentage.
    constexpr int barX = 20, barY = 16, barH = 300;
    auto* bar = new QProgressBar(page);
    bar->setObjectName(QStringLiteral("In_ProgressBar"));
    bar->setOrientation(Qt::Vertical);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setGeometry(barX, barY, 28, barH);
    for (int mark : {25, 50, 65, 75, 85, 95}) {
        auto* l = makeLabel(page, QStringLiteral("-- %1").arg(mark), barX + 30,
                            barY + barH * (100 - mark) / 100 - 8, 50, 16);
        l->setObjectName(QStringLiteral("Scale%1_Label").arg(mark));
    }

    auto* percent = makeLabel(page, QStringLiteral("------"), barX - 6, barY + barH + 8, 80);
    percent->setObjectName(QStringLiteral("PercentUsed_Label"));
    QFont bold = percent->font();
    bold.setBold(true);
    percent->setFont(bold);

    makeLabel(page, QStringLiteral("Quota left: "), 14, barY + barH + 36, 80);
    auto* remaining = makeLabel(page, QStringLiteral("----"), 90, barY + barH + 36, 220);
    remaining->setObjectName(QStringLiteral("QuotaRemaining_Label"));
    remaining->setFont(bold);

    auto* group = new QGroupBox(QStringLiteral(" Data quota details "), page);
    group->setObjectName(QStringLiteral("QuotaDetails_GBox"));
    group->setGeometry(130, 8, 466, 340);

    makeLabel(group, QStringLiteral("Your full quota in gigabytes:"), 12, 26, 220);
    makeEdit(group, "GBQuota_Edit", QStringLiteral("0"), 236, 24, 110);
    makeLabel(group, QStringLiteral("Gigabytes"), 354, 26, 100);

    makeLabel(group, QStringLiteral("Current used quota in megabytes:"), 12, 56, 220);
    makeEdit(group, "MBUsed_Edit", QStringLiteral("0"), 236, 54, 110);
    makeLabel(group, QStringLiteral("Megabytes"), 354, 56, 100);

    auto* calc = makeButton(group, "CalcQuota_But", QStringLiteral("Calculate"), 12, 88, 90);
    auto* note =
        makeLabel(group, QStringLiteral("Only calculate this ONCE unless you re-adjust your used quota!"),
                  110, 86, 346, 32);
    note->setWordWrap(true);

    makeLabel(group, QStringLiteral("ISP defines one gigabyte as"), 12, 134, 180);
    makeEdit(group, "Gbytes_Edit", QStringLiteral("1073741824"), 196, 132, 110);
    makeLabel(group, QStringLiteral("bytes"), 312, 134, 44);
    auto* redefGb = makeButton(group, "ReDefGB_But", QStringLiteral("Redefine"), 362, 130, 90);

    makeLabel(group, QStringLiteral("ISP defines one megabyte as"), 12, 166, 180);
    makeEdit(group, "MBytes_Edit", QStringLiteral("1048576"), 196, 164, 110);
    makeLabel(group, QStringLiteral("bytes"), 312, 166, 44);
    auto* redefMb = makeButton(group, "ReDefMB_But", QStringLiteral("Redefine"), 362, 162, 90);

    auto* down = new QRadioButton(QStringLiteral("Quota includes downloaded data ONLY"), group);
    down->setObjectName(QStringLiteral("Down_RBut"));
    down->setGeometry(12, 204, 440, 22);
    auto* downUp = new QRadioButton(QStringLiteral("Quota includes downloaded AND uploaded data"), group);
    downUp->setObjectName(QStringLiteral("DownUp_RBut"));
    downUp->setGeometry(12, 230, 440, 22);
    auto* choice = new QButtonGroup(group);
    choice->setObjectName(QStringLiteral("QuotaData_Group"));
    choice->addButton(down);
    choice->addButton(downUp);
    down->setChecked(true);

    makeLabel(group, QStringLiteral("Reset quota on day  "), 12, 270, 140);
    auto* day = new QSpinBox(group);
    day->setObjectName(QStringLiteral("ResetDay_Edit"));
    day->setRange(0, 31);
    day->setValue(0);
    day->setGeometry(156, 268, 60, 24);
    makeLabel(group, QStringLiteral("of each month"), 224, 270, 140);

    makeLabel(group, QStringLiteral("Last reset"), 12, 304, 80);
    auto* lastReset = makeLabel(group, QStringLiteral("------"), 100, 304, 200);
    lastReset->setObjectName(QStringLiteral("LastResetDate_Label"));

    connect(calc, &QPushButton::clicked, this, [this, calc] { CalcQuota_ButClick(calc); });
    connect(redefGb, &QPushButton::clicked, this, [this, redefGb] { ReDefGB_ButClick(redefGb); });
    connect(redefMb, &QPushButton::clicked, this, [this, redefMb] { ReDefMB_ButClick(redefMb); });
}

void TMainForm::QuotaClick(QObject*) {}
void TMainForm::CalcQuota_ButClick(QObject*) {}
void TMainForm::ReDefGB_ButClick(QObject*) {}
void TMainForm::ReDefMB_ButClick(QObject*) {}
void TMainForm::Quota_TimerTimer(QObject*) {}
QString TMainForm::FormatGbMb(const QString&) const {
    return {};
}
QString TMainForm::FormatMbNumber(const QString&) const {
    return QStringLiteral("0");
}
double TMainForm::QuotaUsedBytes() const {
    return 0;
}
QString TMainForm::MBUsedAtClose() {
    return QStringLiteral("0");
}
