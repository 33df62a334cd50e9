// Misc page: the event-log directory.
#include "app/Main_Unit.h"
#include "app/WidgetFactory.h"

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

    ui.misc.Dir_Edit = widgets::edit(group, "Dir_Edit", 156, 24, 420);
    caption->setBuddy(ui.misc.Dir_Edit);
}
