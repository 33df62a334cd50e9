// Misc page: the event-log directory.
#include "app/Main_Unit.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

void TMainForm::buildMiscPage(QWidget* page) {
    auto* group = new QGroupBox(QStringLiteral(" Event log "), page);
    group->setObjectName(QStringLiteral("EventLog_GBox"));
    group->setGeometry(8, 150, 596, 64);

    auto* caption = new QLabel(QStringLiteral("Directory to save to:"), group);
    caption->setObjectName(QStringLiteral("Dir_Label"));
    caption->setGeometry(12, 26, 140, 22);

    auto* dir = new QLineEdit(group);
    dir->setObjectName(QStringLiteral("Dir_Edit"));
    dir->setGeometry(156, 24, 420, 24);
    caption->setBuddy(dir);
}
