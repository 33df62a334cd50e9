// The main window's help requests: the "&Help" button and the Help menu's help items.
#include "app/Main_Unit.h"

#include "windows/ProgramHelp.h"

#include <QPushButton>
#include <QVariant>

void TMainForm::Help_ButClick(QObject*) {
    help::show(this, ui.frame.Help_But->property("helpKeyword").toString());
}

void TMainForm::Contents1Click(QObject*) {
    help::showContents(this);
}

void TMainForm::SearchforHelpOn1Click(QObject*) {
    help::showTopicIndex(this);
}

// The same page as the contents.
void TMainForm::HowtoUseHelp1Click(QObject* Sender) {
    Contents1Click(Sender);
}
